#include "velmar/lnav/lnav_state.h"

#include "velmar/shared_state.h"

namespace lnav {

constinit Polar polar = {
    .a = -0.0001165,
    .b = 0.0138864,
    .c = -0.8118127,
    .reference_mass_kg = 0.0,
    .reserved = 0.0,
};

constinit GlideState glide = {};
constinit double headwind_kmh = 0.0;
constinit double mc_setting = 0.0;
constinit double goal_height_margin = 0.0;

constinit VarioChain chain = {};
constinit ThirtySecondAverage netto_30s = {.last_update_ms = 0, .history = {}, .text = "00.0"};
constinit ThirtySecondAverage te_30s = {.last_update_ms = 0, .history = {}, .text = "00.0"};

constinit int32_t volume_knob = 0;
constinit int32_t power_on = 0;
constinit int32_t sink_tone_enabled = 0;
constinit int32_t alt_mode = 1;

constinit int32_t lnav_page = 0;
constinit int32_t power_on_ms = 0;
constinit int64_t start_of_flight_s = 0;
constinit int32_t show_speed_command = 0;
constinit int32_t show_netto_average = 0;
constinit int32_t show_te_average = 0;
constinit int32_t show_distance = 0;
constinit int32_t show_value_line = 0;
constinit int32_t mark_alt_req = 0;
constinit int32_t mark_alt_diff = 0;
constinit int32_t show_glide_bar = 0;
constinit int32_t mark_scale_x2 = 0;
constinit int32_t mark_scale_half = 0;
constinit char distance_text[8] = "000.0";
constinit char page_text[40] = "";

namespace {
constexpr double kGoalHeightMarginAtPowerOnM = 100.0;
}

void clear_for_power_on() {
  const double capacity_l = glide.ballast_capacity_l;
  glide = {};
  glide.ballast_capacity_l = capacity_l;
  headwind_kmh = 0.0;
  velmar::lnav_airspeed_kmh = 0.0;
  chain = {};
  netto_30s = {};
  te_30s = {};
  mc_setting = 0.0;
  goal_height_margin = kGoalHeightMarginAtPowerOnM;
}

} // namespace lnav
