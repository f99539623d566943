// Test-only module: gpsnav and a "probe" gauge that shows the values gpsnav
// publishes to the other velmar gauges, at full precision, so that tests can
// read them through the host like any display.
#include "frame/module_frame.h"
#include "velmar/gpsnav/gauge.h"
#include "velmar/shared_state.h"

namespace {

extern GaugeHeader probe_gauge;

double power_callback(Element *e) {
  frame::format_text(e, "%d", velmar::gps_power_on);
  return 0;
}
double distance_callback(Element *e) {
  frame::format_text(e, "%.9f", velmar::active_tp_distance_km);
  return 0;
}
double elevation_callback(Element *e) {
  frame::format_text(e, "%.9f", velmar::active_tp_elevation_m);
  return 0;
}
double latitude_callback(Element *e) {
  frame::format_text(e, "%.9f", velmar::active_tp_lat_min);
  return 0;
}
double longitude_callback(Element *e) {
  frame::format_text(e, "%.9f", velmar::active_tp_lon_min);
  return 0;
}
double name_callback(Element *e) {
  frame::format_text(e, "%s", velmar::active_tp_name);
  return 0;
}
double ground_speed_callback(Element *e) {
  frame::format_text(e, "%.9f", velmar::ground_speed_kmh);
  return 0;
}
double units_callback(Element *e) {
  frame::format_text(e, "%d", velmar::unit_system);
  return 0;
}

constexpr StringElement probe_text(int32_t y, ElementCallback callback) {
  return StringElement{
      .element = {.kind = kElementString, .resource_id = -1, .x = 0, .y = y, .gauge = &probe_gauge},
      .max_chars = 40,
      .callback = callback,
  };
}

constinit StringElement power = probe_text(0, power_callback);
constinit StringElement distance = probe_text(20, distance_callback);
constinit StringElement elevation = probe_text(40, elevation_callback);
constinit StringElement latitude = probe_text(60, latitude_callback);
constinit StringElement longitude = probe_text(80, longitude_callback);
constinit StringElement name = probe_text(100, name_callback);
constinit StringElement ground_speed = probe_text(120, ground_speed_callback);
constinit StringElement units = probe_text(140, units_callback);

constinit Element *children[] = {&power.element,        &distance.element,  &elevation.element,
                                 &latitude.element,     &longitude.element, &name.element,
                                 &ground_speed.element, &units.element,     nullptr};
constinit StaticImageElement root = {
    .element = {.kind = kElementStaticImage,
                .resource_id = 0x1000,
                .gauge = &probe_gauge,
                .children = children},
};
constinit Element *roots[] = {&root.element, nullptr};
constinit MouseRectangle no_mouse[] = {{.kind = kMouseEnd}};

constinit GaugeHeader probe_gauge = {
    GAUGE_HEADER_COMMON("probe", roots),
    .default_size = 100,
    .mouse_list = no_mouse,
};

} // namespace

GAUGE_EXPORT LinkageRecord Linkage = {
    .module_id = kModuleId,
    .start = frame::module_start,
    .stop = frame::module_stop,
    .link_version = 0x900,
    .gauges = {&velmar::gpsnav_gauge, &probe_gauge, nullptr},
};
