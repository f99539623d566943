// Element callbacks of lnav, in element order (1-based as on the face). A
// string callback writes its element's text; the others return the value.
#pragma once

#include "frame/gauge.h"

namespace lnav {

double knob_angle(Element *element);          // 2: 30 * knob - 60 degrees
double netto_tenths(Element *element);        // 3: netto text character 4
double netto_point(Element *element);         // 4
double netto_digits(Element *element);        // 5: runs the vario cycle first
double te_tenths(Element *element);           // 6: TE text character 4
double te_point(Element *element);            // 7
double te_digits(Element *element);           // 8: runs the TE 30-s average first
double distance_tenths(Element *element);     // 9
double distance_point(Element *element);      // 10
double distance_digits(Element *element);     // 11: refreshes the distance text
double value_line(Element *element);          // 12
double page_line(Element *element);           // 13: runs the page logic
double netto_label(Element *element);         // 14
double te_label(Element *element);            // 15
double distance_label(Element *element);      // 16
double value_label(Element *element);         // 17
double alt_mode_marker(Element *element);     // 18
double glide_bar_offset(Element *element);    // 19: y value, m
double glide_bar_frame(Element *element);     // 20
double speed_command_arrow(Element *element); // 21
double scale_half_marker(Element *element);   // 22
double scale_x2_marker(Element *element);     // 23

} // namespace lnav
