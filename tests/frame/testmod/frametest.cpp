// A module that exists only to test the host's frame rules: every element
// kind, nested mouse parents, a child that only carries a key event, a gauge
// without a gauge callback, and a mouse list followed by data that must never
// be read.
#include <cstring>

#include "frame/history_averager.h"
#include "frame/module_clock.h"
#include "frame/module_frame.h"

namespace frametest {
namespace {

constexpr uint32_t kTokenInput = 0x41;    // any token; the needle shows it / 256
constexpr uint32_t kTokenSendKey = 0x500; // non-zero: the icon callback sends kKeyFromUpdate
constexpr uint32_t kKeyFromUpdate = 0x10999;
constexpr uint32_t kKeyFromClick = 0x10998;
constexpr uint32_t kKeyKnobRectangle = 0x1015B;

// Written by the callbacks, shown by the status strings.
constinit char order_log[64] = {}; // element callbacks of the last cycle, in call order
constinit char previous_order[64] = {};
constinit char service_log[64] = {};   // gauge services received, in order
constinit char click_log[64] = {};     // handlers called, in order
constinit int start_saw_services = -1; // whether ImportTable was written before the start routine
constinit int32_t service5_width_px = -1;

TokenVar input_var = {.id = kTokenInput};
TokenVar send_key_var = {.id = kTokenSendKey};

void append(char *log, size_t size, const char *text) {
  const size_t used = std::strlen(log);
  frame::format_into(log + used, size - used, "%s", text);
}

double needle_cb(Element *) {
  append(order_log, sizeof order_log, "n");
  return frame::read_token(input_var) / 256.0;
}

double long_text_cb(Element *e) {
  append(order_log, sizeof order_log, "s");
  // 40 characters into an element that shows 12.
  frame::format_text(e, "%s", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd");
  return 0;
}

double shift_x_cb(Element *) {
  append(order_log, sizeof order_log, "x");
  return 3.5;
}

double icon_cb(Element *) {
  append(order_log, sizeof order_log, "i");
  if (frame::read_token(send_key_var) != 0) {
    frame::send_key_event(kKeyFromUpdate, 7);
  }
  return 2;
}

double scroll_x_cb(Element *) {
  return 10;
}
double scroll_y_cb(Element *) {
  append(order_log, sizeof order_log, "c");
  return 20;
}
double rotate_r_cb(Element *) {
  append(order_log, sizeof order_log, "r");
  return 1.25;
}

// Status strings: the last one closes the cycle's order log.
double status_services_cb(Element *e) {
  frame::format_text(e, "%s", service_log);
  return 0;
}
double status_clicks_cb(Element *e) {
  frame::format_text(e, "%s", click_log);
  return 0;
}
double status_misc_cb(Element *e) {
  frame::format_text(e, "start=%d w=%d order=%s", start_saw_services, service5_width_px,
                     previous_order);
  return 0;
}
double order_cb(Element *e) {
  frame::format_text(e, "%s", order_log);
  frame::format_into(previous_order, sizeof previous_order, "%s", order_log);
  order_log[0] = '\0';
  return 0;
}
double clock_cb(Element *) {
  return frame::module_clock_ms();
}

frame::History<4> history = {};
double history_cb(Element *) {
  return frame::history_average(history, 2.0, frame::read_token(input_var));
}

uint32_t click_outer(MousePoint *, uint32_t flags) {
  append(click_log, sizeof click_log, "A");
  return flags;
}
uint32_t click_inner(MousePoint *p, uint32_t flags) {
  char text[24];
  frame::format_into(text, sizeof text, "B%d,%d", p->x, p->y);
  append(click_log, sizeof click_log, text);
  return flags;
}
uint32_t click_key(MousePoint *, uint32_t flags) {
  frame::send_key_event(kKeyFromClick, 1);
  return flags;
}
uint32_t click_overrun(MousePoint *, uint32_t flags) {
  append(click_log, sizeof click_log, "OVERRUN");
  return flags;
}

int32_t kinds_callback(GaugeHeader *g, int32_t service, uint32_t) {
  char text[8];
  frame::format_into(text, sizeof text, "%d,", service);
  append(service_log, sizeof service_log, text);
  if (service == 5) {
    auto *root = reinterpret_cast<StaticImageElement *>(g->elements[0]);
    service5_width_px = root->image != nullptr ? static_cast<int32_t>(root->image->width_px) : -2;
  }
  return 0;
}

extern GaugeHeader kinds_header;
extern GaugeHeader plain_header;

#define TEXT_COMMON                                                                                \
  .sources = {{.id = 1}}, .box_width_px = 100, .box_height_px = 12, .text_colour = 0x101010,       \
  .background_colour = 0xEBEBEB, .highlight_colour = 0x101010, .font_face = "Quartz",              \
  .font_weight = 400, .char_set = 1, .layout_flags = 0x25

// Element tree of "kinds", depth-first indices in comments.
// clang-format off
StringElement clock_text = {.element = {.kind = kElementString, .resource_id = -1, .gauge = &kinds_header, .drawing_flags = 2}, TEXT_COMMON, .max_chars = 60, .callback = status_services_cb}; // 3
Element* needle_children[] = {&clock_text.element, nullptr};
NeedleElement needle = {.element = {.kind = kElementNeedle, .resource_id = 0x101, .x = 50, .y = 50, .offset_x = 2, .offset_y = 20, .gauge = &kinds_header, .children = needle_children, .drawing_flags = 3}, .source = {.id = kTokenInput}, .callback = needle_cb}; // 2
Element* long_children[] = {&needle.element, nullptr};
StringElement long_text = {.element = {.kind = kElementString, .resource_id = -1, .x = 5, .y = 5, .gauge = &kinds_header, .children = long_children, .drawing_flags = 2}, TEXT_COMMON, .max_chars = 12, .callback = long_text_cb}; // 1
ShiftElement shift = {.element = {.kind = kElementShift, .resource_id = 0x102, .gauge = &kinds_header, .drawing_flags = 3}, .x_scale = 1.0, .y_scale = 1.0, .x_callback = shift_x_cb, .y_callback = nullptr}; // 4
IconElement icon = {.element = {.kind = kElementIcon, .resource_id = 0x110, .gauge = &kinds_header, .drawing_flags = 3}, .image_count = 3, .callback = icon_cb}; // 5
ScrollElement scroll = {.element = {.kind = kElementScroll, .resource_id = 0x103, .gauge = &kinds_header, .drawing_flags = 3}, .x_min = 0, .x_max = 360, .y_min = 0, .y_max = 100, .x_callback = scroll_x_cb, .y_callback = scroll_y_cb}; // 6
RotateElement rotate = {.element = {.kind = kElementRotate, .resource_id = 0x104, .gauge = &kinds_header, .drawing_flags = 1}, .x_scale = 1, .y_scale = 1, .rotation_scale = 1, .texture_scale_x = 1, .texture_scale_y = 1, .rotation_callback = rotate_r_cb}; // 7
StringElement clicks_text = {.element = {.kind = kElementString, .resource_id = -1, .gauge = &kinds_header, .drawing_flags = 2}, TEXT_COMMON, .max_chars = 60, .callback = status_clicks_cb}; // 8
StringElement misc_text = {.element = {.kind = kElementString, .resource_id = -1, .gauge = &kinds_header, .drawing_flags = 2}, TEXT_COMMON, .max_chars = 60, .callback = status_misc_cb}; // 9
NeedleElement clock_needle = {.element = {.kind = kElementNeedle, .resource_id = 0x101, .gauge = &kinds_header, .drawing_flags = 3}, .callback = clock_cb}; // 10
NeedleElement history_needle = {.element = {.kind = kElementNeedle, .resource_id = 0x101, .gauge = &kinds_header, .drawing_flags = 3}, .callback = history_cb}; // 11
StringElement order_text = {.element = {.kind = kElementString, .resource_id = -1, .gauge = &kinds_header, .drawing_flags = 2}, TEXT_COMMON, .max_chars = 60, .callback = order_cb}; // 12
Element* root_children[] = {&long_text.element, &shift.element, &icon.element, &scroll.element, &rotate.element, &clicks_text.element, &misc_text.element, &clock_needle.element, &history_needle.element, &order_text.element, nullptr};
StaticImageElement kinds_root = {.element = {.kind = kElementStaticImage, .resource_id = 0x100, .gauge = &kinds_header, .children = root_children, .drawing_flags = 0}};
Element* kinds_roots[] = {&kinds_root.element, nullptr};

// Outer parent = whole gauge; a child at 0,0 20x20; a nested parent at
// 100,100 with a child at 10,10 (absolute 110,110); a key-event-only child;
// a child that accepts only the drag bit. After the outermost closing record
// comes a child that covers everything and must never be read.
MouseRectangle kinds_mouse[] = {
    {.kind = kMouseParent, .x = 0, .y = 0, .width = 0, .height = 0, .cursor = -1},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 20, .height = 20, .cursor = 1, .event_mask = kMouseClick, .handler = click_outer},
    {.kind = kMouseParent, .x = 100, .y = 100, .width = 50, .height = 50, .cursor = -1, .help_id = 43853},
    {.kind = kMouseChild, .x = 10, .y = 10, .width = 20, .height = 20, .cursor = 2, .event_mask = kMouseClick, .handler = click_inner},
    {.kind = kMouseEndParent},
    {.kind = kMouseChild, .x = 30, .y = 0, .width = 10, .height = 10, .cursor = 5, .event_mask = kMouseClick, .key_event = kKeyKnobRectangle},
    {.kind = kMouseChild, .x = 50, .y = 0, .width = 10, .height = 10, .cursor = 1, .event_mask = kMouseClick | kMouseDrag, .handler = click_key},
    {.kind = kMouseChild, .x = 70, .y = 0, .width = 10, .height = 10, .cursor = 1, .event_mask = kMouseDrag, .handler = click_outer},
    {.kind = kMouseEndParent},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 1000, .height = 1000, .cursor = 1, .event_mask = 0xFFFFFFFF, .handler = click_overrun},
    {.kind = kMouseEndParent},
    {.kind = kMouseEnd},
};

GaugeHeader kinds_header = {GAUGE_HEADER_COMMON("kinds", kinds_roots), .default_size = 100, .mouse_list = kinds_mouse, .gauge_callback = kinds_callback};

// "plain": no gauge callback; its mouse list has no kind-0 record at all.
StringElement plain_text = {.element = {.kind = kElementString, .resource_id = -1, .gauge = &plain_header, .drawing_flags = 2}, TEXT_COMMON, .max_chars = 4, .callback = status_services_cb};
Element* plain_children[] = {&plain_text.element, nullptr};
StaticImageElement plain_root = {.element = {.kind = kElementStaticImage, .resource_id = 0x100, .gauge = &plain_header, .children = plain_children, .drawing_flags = 0}};
Element* plain_roots[] = {&plain_root.element, nullptr};
MouseRectangle plain_mouse[] = {
    {.kind = kMouseParent, .cursor = -1},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 10, .height = 10, .cursor = 1, .event_mask = kMouseClick, .handler = click_outer},
    {.kind = kMouseEndParent},
    {.kind = kMouseChild, .x = 0, .y = 0, .width = 1000, .height = 1000, .cursor = 1, .event_mask = 0xFFFFFFFF, .handler = click_overrun},
};
GaugeHeader plain_header = {GAUGE_HEADER_COMMON("plain", plain_roots), .default_size = 100, .mouse_list = plain_mouse, .gauge_callback = nullptr};
// clang-format on

void start() {
  start_saw_services = ImportTable.panel.services != nullptr ? 1 : 0;
}

} // namespace
} // namespace frametest

GAUGE_EXPORT LinkageRecord Linkage = {
    .module_id = kModuleId,
    .start = frametest::start,
    .stop = frame::module_stop,
    .link_version = 0x900,
    .gauges = {&frametest::kinds_header, &frametest::plain_header, nullptr},
};
