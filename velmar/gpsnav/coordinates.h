// Positions in signed minutes of arc (north and east positive), the position
// texts of the turnpoint file, and the flat-earth distance and bearing.
#pragma once

namespace velmar::gpsnav {

struct Position {
  double lat_min;
  double lon_min;
};

struct DistanceBearing {
  double distance_km;
  double bearing_deg; // true, 0 to below 360
};

enum class Axis { kLatitude, kLongitude };

// Signed minutes of a record's 12-character position text:
//   latitude  DD:MM.mmmN or DD:MM:SSN    "52:30.500N" -> 3150.5,
//             "52:30:30N" -> 3150.500001 (seconds at the instrument's
//             0.0166667 minutes each); negative unless the text holds an N;
//   longitude DDD:MM.mmmE or DDD:MM:SSE  "005:07.200E" -> 307.2; negative
//             unless the text holds an E.
// Each sub-field is read at fixed character positions; no digits read as 0.
double position_to_minutes(const char *text, Axis axis);

// Distance on a local flat projection (111.321 km per degree of longitude at
// the middle latitude, 111.15 km per degree of latitude) and the bearing.
DistanceBearing distance_bearing(Position from, Position to);

} // namespace velmar::gpsnav
