// Unit factors of every velmar gauge, in one place. Computation is metric;
// the host's units setting chooses feet, knots and nautical miles for display.
//
// A factor with a plain name is exact. A factor that a gauge uses rounded, on
// purpose, says so in its name, with the exact value beside it: the rounding
// is part of what that instrument reads (mc's altitude in feet is 3.281 times
// the metres, lnav's 3.2808...), so a tidy-up must not swap one for the other.
#pragma once

namespace velmar {

inline constexpr double kKmhPerKnot = 1.852;        // exact: a knot is 1.852 km/h
inline constexpr double kKmPerNauticalMile = 1.852; // exact
inline constexpr double kMetresPerFoot = 0.3048;    // exact; gpsnav divides by it
// 1 / 0.3048 to double precision; lnav multiplies by it.
inline constexpr double kFeetPerMetre = 3.280839895013123;

// Rounded on purpose (exact value in the comment), each the reading of the
// gauges named.
inline constexpr double kFeetPerMetreRounded = 3.281;      // 3.2808399; mc
inline constexpr double kKnotsPerMpsRounded = 1.9438;      // 1.9438445; lnav's averages
inline constexpr double kInHgPerHpaRounded = 0.02953;      // 0.0295300; lnav's page 19
inline constexpr double kLitresPerUsGallonRounded = 3.785; // 3.7854118; lnav's ballast

} // namespace velmar
