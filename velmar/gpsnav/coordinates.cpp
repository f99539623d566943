#include "velmar/gpsnav/coordinates.h"

#include <cmath>
#include <cstring>

#include "velmar/gpsnav/text_fields.h"

namespace velmar::gpsnav {
namespace {

// The instrument's constants, kept as it has them: they set the last digits.
constexpr double kPi = 3.14159265359;
constexpr double kMinutesPerSecondOfArc = 0.0166667;
constexpr double kKmPerDegreeLongitudeAtEquator = 111.321;
constexpr double kKmPerDegreeLatitude = 111.15;
constexpr double kMinutesPerDegree = 60.0;

double deg_to_rad(double deg) {
  return deg * 2.0 * kPi / 360.0;
}
double rad_to_deg(double rad) {
  return rad * 360.0 / (2.0 * kPi);
}

} // namespace

// Character positions counted from 1: DD:MM.mmm / DD:MM:SS for a latitude,
// DDD:MM.mmm / DDD:MM:SS for a longitude (one more degree digit).
double position_to_minutes(const char *text, Axis axis) {
  const int degree_digits = axis == Axis::kLatitude ? 2 : 3;
  const int m = degree_digits + 2; // first minute character
  const double degrees = number_at(text, 1, degree_digits);
  const double minutes =
      std::strchr(text, '.') != nullptr
          ? number_at(text, m, m + 5)
          : number_at(text, m, m + 1) + number_at(text, m + 3, m + 4) * kMinutesPerSecondOfArc;
  const double result = degrees * kMinutesPerDegree + minutes;
  const char positive = axis == Axis::kLatitude ? 'N' : 'E';
  return std::strchr(text, positive) != nullptr ? result : -result;
}

DistanceBearing distance_bearing(Position from, Position to) {
  const double from_lat = from.lat_min / kMinutesPerDegree;
  const double from_lon = from.lon_min / kMinutesPerDegree;
  const double to_lat = to.lat_min / kMinutesPerDegree;
  const double to_lon = to.lon_min / kMinutesPerDegree;
  const double mid_lat = from_lat + (to_lat - from_lat) / 2.0;
  const double dx_km =
      std::cos(deg_to_rad(mid_lat)) * (to_lon - from_lon) * kKmPerDegreeLongitudeAtEquator;
  const double dy_km = (to_lat - from_lat) * kKmPerDegreeLatitude;
  double bearing = rad_to_deg(std::atan2(dx_km, dy_km));
  if (bearing < 0.0) {
    bearing += 360.0;
  }
  return {.distance_km = std::sqrt(dx_km * dx_km + dy_km * dy_km), .bearing_deg = bearing};
}

} // namespace velmar::gpsnav
