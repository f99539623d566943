// Small-distance geometry on a spherical earth (mean radius), enough for a
// flight's few hundred kilometres. Degrees in, metres out.
#pragma once

#include <cmath>

namespace flight {

inline constexpr double kEarthRadiusM = 6371008.8;
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegToRad = kPi / 180.0;
inline constexpr double kGravityMps2 = 9.80665;

struct LatLon {
  double latitude_deg = 0;
  double longitude_deg = 0;
};

// Moves by north_m and east_m (local flat step).
inline LatLon offset_position(LatLon p, double north_m, double east_m) {
  p.latitude_deg += north_m / kEarthRadiusM / kDegToRad;
  p.longitude_deg += east_m / (kEarthRadiusM * std::cos(p.latitude_deg * kDegToRad)) / kDegToRad;
  return p;
}

// North and east metres from `from` to `to` (local flat projection).
inline void local_offset(LatLon from, LatLon to, double &north_m, double &east_m) {
  const double mid = (from.latitude_deg + to.latitude_deg) / 2.0 * kDegToRad;
  double dlon = to.longitude_deg - from.longitude_deg;
  if (dlon > 180) {
    dlon -= 360;
  } else if (dlon < -180) {
    dlon += 360;
  }
  north_m = (to.latitude_deg - from.latitude_deg) * kDegToRad * kEarthRadiusM;
  east_m = dlon * kDegToRad * kEarthRadiusM * std::cos(mid);
}

inline double distance_m(LatLon from, LatLon to) {
  double n = 0, e = 0;
  local_offset(from, to, n, e);
  return std::hypot(n, e);
}

// Bearing from `from` to `to`, 0..360 degrees true.
inline double bearing_deg(LatLon from, LatLon to) {
  double n = 0, e = 0;
  local_offset(from, to, n, e);
  const double b = std::atan2(e, n) / kDegToRad;
  return b < 0 ? b + 360 : b;
}

inline double wrap_360(double deg) {
  deg = std::fmod(deg, 360.0);
  return deg < 0 ? deg + 360 : deg;
}
// Signed difference a - b in -180..180.
inline double angle_difference(double a, double b) {
  double d = std::fmod(a - b + 540.0, 360.0) - 180.0;
  return d;
}

} // namespace flight
