// The computing side of gpsnav: own position, wind, distance and bearing to
// the shown turnpoint, track, ground speed, the steering arrow, the values
// published for the other velmar gauges, and the switching on and off.
#pragma once

namespace velmar::gpsnav {

// Tokens 0x47, 0x48, 0x49 and 0x14F: own position (minutes), its texts, the
// altitude text and the shared unit_system.
void read_own_position();
// Tokens 0x157 and 0x158: the wind texts.
void read_wind();
// Distance and bearing from the own position to the shown turnpoint: target
// distance and bearing, distance text (in the shown unit, at most 999.9) and
// bearing text.
void distance_to_shown();
// Track and distance moved since the previous navigation update, and the
// ground speed over the elapsed whole seconds.
void update_track_speed();
// Steering arrow image from the track and the target bearing.
void update_steering_index();

// Runs first in every update cycle (the first display line's callback):
// publishes the active turnpoint, and every update_interval_s while on
// refreshes position, wind, target, track, speed and arrow (not on the task
// pages 26 to 28, where only the timer and the previous position advance).
void navigation_update();

// The ON button: clears the no-file state, or switches off (recorder off),
// or switches on (recorder on, tables reloaded, the home point active).
void switch_on_off();

} // namespace velmar::gpsnav
