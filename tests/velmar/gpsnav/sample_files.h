// Turnpoint files written by the tests. Positions near 52 N 5 E; the own
// position of most tests is 51:45 N 5:00 E (kOwnLatMin, kOwnLonMin), from
// where Home Field and South Tower are 27.79 km away (0.25 degree of
// latitude), East Farm 44.2 km, North Point 83.36 km, Meadow 14.75 km.
#pragma once

namespace gpsnav_test {

inline constexpr double kOwnLatMin = 3105.0; // 51:45 N
inline constexpr double kOwnLonMin = 300.0;  // 005:00 E

// Home (H only: on no list), turnpoints T/TL/S, a landpoint L, and task
// lines (a capital A in the first field): tasks A (0 to 2), C (0, 1) and B
// (10 before 1: containment).
inline constexpr const char *kTaskFile = "1,52:00.000N,005:00.000E,10M,H,Home Field,Grass 600m\r\n"
                                         "2,52:30.000N,005:00.000E,1500F,T,North Point,Church\r\n"
                                         "3,52:00.000N,005:30.000E,5M,TL,East Farm,Strip\r\n"
                                         "4,51:30.000N,005:00.000E,20,S,South Tower,Mast\r\n"
                                         "5,51:50.000N,005:10.000E,0M,L,Meadow,Long field\r\n"
                                         "A0,1,0\r\n"
                                         "A1,2,55.6\r\n"
                                         "A2,3,38.5\r\n"
                                         "AC0,4,0\r\n"
                                         "AC1,2,92.6\r\n"
                                         "AB10,3,99\r\n"
                                         "AB1,4,44\r\n";

} // namespace gpsnav_test
