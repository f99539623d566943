// Builders for ostrel's statically initialised element and mouse records, so
// that each gauge's tables read one row per element. Every builder is
// constexpr: the records are constant-initialised at load, before the host
// reads them. Host working fields stay zero.
#pragma once

#include <cstdint>

#include "frame/gauge.h"
#include "ostrel/tokens.h"

namespace ostrel {

// Every ostrel needle.
inline constexpr int32_t kNeedleRateLimit = 6;

struct ElementPlace {
  int32_t x;
  int32_t y;
};

constexpr Element element_common(int32_t kind, int32_t resource_id, ElementPlace place,
                                 GaugeHeader *gauge, Element **children, uint32_t flags) {
  Element e{};
  e.kind = kind;
  e.resource_id = resource_id;
  e.x = place.x;
  e.y = place.y;
  e.gauge = gauge;
  e.children = children;
  e.drawing_flags = flags;
  return e;
}

constexpr StaticImageElement static_image(int32_t bitmap, GaugeHeader *gauge, Element **children,
                                          uint32_t flags) {
  StaticImageElement e{};
  e.element = element_common(kElementStaticImage, bitmap, {0, 0}, gauge, children, flags);
  return e;
}

// `pivot` is the point of the needle bitmap that sits on `place`.
template <int32_t N>
constexpr NeedleElement needle(int32_t bitmap, ElementPlace place, ElementPlace pivot,
                               uint32_t source_token, NonlinearityPoint (&points)[N],
                               GaugeHeader *gauge, ElementCallback callback) {
  NeedleElement e{};
  e.element =
      element_common(kElementNeedle, bitmap, place, gauge, nullptr, kDrawTransparent | kDrawErase);
  e.element.offset_x = pivot.x;
  e.element.offset_y = pivot.y;
  e.source.id = source_token;
  e.points = points;
  e.point_count = N;
  e.rate_limit = kNeedleRateLimit;
  e.callback = callback;
  return e;
}

constexpr IconElement icon(int32_t first_bitmap, int32_t image_count, ElementPlace place,
                           uint32_t source_token, GaugeHeader *gauge, ElementCallback callback) {
  IconElement e{};
  e.element = element_common(kElementIcon, first_bitmap, place, gauge, nullptr,
                             kDrawTransparent | kDrawErase);
  e.source.id = source_token;
  e.image_count = image_count;
  e.callback = callback;
  return e;
}

struct StringLook {
  int32_t box_width_px;
  int32_t box_height_px;
  uint32_t text_colour; // 0x00BBGGRR; the highlight takes the same colour
  uint32_t background_colour;
  int32_t max_chars;
  uint32_t drawing_flags;
};

constexpr StringElement string_line(ElementPlace place, const StringLook &look, GaugeHeader *gauge,
                                    ElementCallback callback) {
  StringElement e{};
  e.element = element_common(kElementString, -1, place, gauge, nullptr, look.drawing_flags);
  e.sources[0].id = kTokenElementSource;
  e.box_width_px = look.box_width_px;
  e.box_height_px = look.box_height_px;
  e.text_colour = look.text_colour;
  e.background_colour = look.background_colour;
  e.highlight_colour = look.text_colour;
  constexpr char kFace[] = "Quartz";
  for (int i = 0; kFace[i] != '\0'; ++i) {
    e.font_face[i] = kFace[i];
  }
  e.font_weight = kFontWeightNormal;
  e.char_set = kCharSetDefault;
  e.layout_flags = kTextLayoutCentred;
  e.max_chars = look.max_chars;
  e.callback = callback;
  return e;
}

// Mouse lists of ostrel: one parent covering the whole gauge, its children,
// the record closing it and an end record.
constexpr MouseRectangle mouse_whole_gauge() {
  return {.kind = kMouseParent, .cursor = kCursorNone};
}
constexpr MouseRectangle mouse_child(int32_t x, int32_t y, int32_t width, int32_t height,
                                     int32_t cursor, uint32_t event_mask, MouseHandler handler) {
  return {.kind = kMouseChild,
          .x = x,
          .y = y,
          .width = width,
          .height = height,
          .cursor = cursor,
          .event_mask = event_mask,
          .handler = handler};
}
constexpr MouseRectangle mouse_end_parent() {
  return {.kind = kMouseEndParent};
}
constexpr MouseRectangle mouse_end() {
  return {.kind = kMouseEnd};
}

} // namespace ostrel
