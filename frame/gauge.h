// Records of the gauge module frame: what a module exports and what a host
// reads. Every record is plain and statically initialised in the module;
// pointers are at the platform's native width, every other field at its
// stated width, in the stated order. "Host working" fields are zero in the
// module and belong to the host.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

struct GaugeHeader;
struct Element;
struct PanelServices;

// Element kinds, the first word of every element record.
enum : int32_t {
  kElementStaticImage = 0,
  kElementNeedle = 1,
  kElementString = 2,
  kElementShift = 3,
  kElementIcon = 4,
  kElementScroll = 5,
  kElementRotate = 6,
};

// Mouse-rectangle kinds.
enum : int32_t {
  kMouseEnd = 0,
  kMouseParent = 1,
  kMouseChild = 2,
  kMouseEndParent = 3,
};

// Event-mask bits of mouse children and of the flags a host passes a handler.
inline constexpr uint32_t kMouseClick = 0x20000000;      // the click every handler answers
inline constexpr uint32_t kMouseStepRepeat = 0x00200000; // extra bit of stepping buttons
inline constexpr uint32_t kMouseDrag = 0x00800000;       // extra bit of spl's lever

// Drawing flags (Element::drawing_flags): how the host draws an element. One
// meaning per bit; the values in use are combinations of these.
// Transparency key: pure black (0x000000). A 32-bit bitmap's own alpha channel
// applies whatever the flags say.
inline constexpr uint32_t kDrawTransparent = 0x1; // black pixels of the bitmap are not drawn
inline constexpr uint32_t kDrawErase = 0x2;       // the element's area is cleared before drawing; a
                                                  // string fills its box with its background colour
inline constexpr uint32_t kDrawLit = 0x4; // drawn at full brightness whatever the panel light

// Cursor kinds shown over a mouse child (MouseRectangle::cursor).
inline constexpr int32_t kCursorNone = -1; // on parents
inline constexpr int32_t kCursorUp = 1;    // increase, up, close
inline constexpr int32_t kCursorDown = 2;  // decrease, down, open
inline constexpr int32_t kCursorHand = 5;  // press a button

// String layout flags (StringElement::layout_flags).
inline constexpr uint32_t kTextCentreHorizontal = 0x01;
inline constexpr uint32_t kTextCentreVertical = 0x04;
inline constexpr uint32_t kTextSingleLine = 0x20;
inline constexpr uint32_t kTextLayoutCentred =
    kTextCentreHorizontal | kTextCentreVertical | kTextSingleLine; // 0x25, every string

// Font weight and character set of every string (the face is "Quartz").
inline constexpr int32_t kFontWeightNormal = 400;
inline constexpr int32_t kCharSetDefault = 1;

inline constexpr uint32_t kHeaderVersion = 0x320;
inline constexpr uint32_t kModuleId = 0x13;
inline constexpr uint32_t kImportPanelServices = 0xF;

// Element callback: takes its element, returns the value (needle value, icon
// index, axis value; nothing relies on a string callback's result).
using ElementCallback = double (*)(Element *element);

struct MousePoint {
  int32_t x;
  int32_t y;
};
// Mouse handler: takes the click point (drawn pixels) and the event flags and
// returns the flags (gr and spl return 0). Nothing uses the result.
using MouseHandler = uint32_t (*)(MousePoint *point, uint32_t flags);

// Gauge-level callback: services 2, 3, 4, 5, 10 and 12 (see the host).
using GaugeCallback = int32_t (*)(GaugeHeader *gauge, int32_t service_id, uint32_t host_value);

// The seven element-list routines of a header; each forwards to one host
// element-list service. Two take a 32-bit argument.
using ElementListRoutine = uintptr_t (*)();
using ElementListRoutineArg = uintptr_t (*)(uint32_t value);

// A host variable: the host writes the current value of token `id` into
// `value` (read_token_var). Token 0x17 is special: a 32-bit unsigned integer in
// the first four bytes of `value`.
struct TokenVar {
  uint32_t id; // 0 means none
  uint32_t host_working_a[2];
  double value;
  uint32_t host_working_b[3];
};

// Common part of every element record.
struct Element {
  int32_t kind;
  int32_t resource_id; // bitmap; first of an icon's images; -1 for strings
  int32_t x;           // position in the gauge's design image, pixels
  int32_t y;
  int32_t previous_x; // host working
  int32_t previous_y; // host working
  int32_t offset_x;   // needle pivot or rotate texture centre, else 0
  int32_t offset_y;
  GaugeHeader *gauge;
  Element *previous;      // host working
  Element **children;     // null-terminated list, or null
  void *failure;          // null everywhere in this system
  uint32_t drawing_flags; // kDrawTransparent, kDrawErase, kDrawLit
  uint32_t reserved[2];
};

// Host image record that a static image's first host word points to once the
// gauge's images are loaded: words 1 and 2 are the drawn width and height.
struct HostImage {
  uint32_t kind;
  uint32_t width_px;
  uint32_t height_px;
  uint32_t reserved;
};

struct StaticImageElement {
  Element element;
  HostImage *image; // host working: set by the host before service 5
  uintptr_t host_working[3];
};

struct NonlinearityPoint {
  int32_t x;
  int32_t y;
  double value;
  double host_working;
};

struct NeedleElement {
  Element element;
  TokenVar source;
  uintptr_t host_working_a[2];
  NonlinearityPoint *points; // null when the callback value is an angle in degrees
  int32_t point_count;
  int32_t rate_limit;
  uintptr_t host_working_b[2];
  ElementCallback callback;
};

// Text buffer capacity that the host guarantees every string element: room for
// the longest text any callback formats plus its terminator.
inline constexpr size_t kStringBufferBytes = 128;

struct StringElement {
  Element element;
  TokenVar sources[3];
  char *text; // host working: the buffer the callback writes, kStringBufferBytes long
  uintptr_t host_working_a[3];
  int32_t box_width_px;
  int32_t box_height_px;
  uint32_t zero[2];
  uint32_t text_colour; // 0x00BBGGRR
  uint32_t background_colour;
  uint32_t highlight_colour;
  char font_face[32];
  int32_t font_weight;   // kFontWeightNormal
  int32_t char_set;      // kCharSetDefault
  uint32_t layout_flags; // kTextLayoutCentred
  int32_t max_chars;     // the element shows at most this many characters
  uintptr_t host_working_b[4];
  ElementCallback callback;
};

struct ShiftElement {
  Element element;
  TokenVar x_source;
  double x_scale;
  TokenVar y_source;
  double y_scale;
  uintptr_t host_working[4];
  ElementCallback x_callback; // may be null
  ElementCallback y_callback; // may be null
};

struct IconElement {
  Element element;
  TokenVar source;
  uint32_t zero_a[2];
  int32_t image_count; // images are resource_id .. resource_id + image_count - 1
  uint32_t zero_b[2];
  ElementCallback callback;
};

struct ScrollElement {
  Element element;
  TokenVar x_source;
  double x_min;
  double x_max;
  TokenVar y_source;
  double y_min;
  double y_max;
  uintptr_t host_working[4];
  ElementCallback x_callback;
  ElementCallback y_callback;
};

struct RotateElement {
  Element element;
  TokenVar x_source;
  double x_scale;
  TokenVar y_source;
  double y_scale;
  TokenVar rotation_source;
  double rotation_scale;
  float texture_scale_x;
  float texture_scale_y;
  uintptr_t host_working[4];
  ElementCallback x_callback;
  ElementCallback y_callback;
  ElementCallback rotation_callback;
};

struct MouseRectangle {
  int32_t kind; // kMouseParent, kMouseChild, kMouseEndParent, kMouseEnd
  int32_t x;    // design pixels; a child's box is relative to its parent's
  int32_t y;
  int32_t width; // a parent of 0,0,0,0 stands for the whole gauge
  int32_t height;
  int32_t cursor;  // kCursorUp, kCursorDown or kCursorHand on children, kCursorNone on parents
  int32_t help_id; // host tooltip id, or 0
  uint32_t event_mask;
  uint32_t key_event; // sent by the host when the child has no handler, else 0
  MouseHandler handler;
  uintptr_t extra;
};

struct GaugeHeader {
  uint32_t header_version; // kHeaderVersion
  const char *name;
  Element **elements; // null-terminated list holding exactly one root static image
  ElementListRoutineArg install_elements;
  ElementListRoutine initialize_elements;
  ElementListRoutine update_elements;
  ElementListRoutineArg generate_elements;
  ElementListRoutine plot_elements;
  ElementListRoutine erase_elements;
  ElementListRoutine dispose_elements;
  uint32_t reserved_a;
  uint32_t default_size;
  uint32_t reserved_b[8];
  MouseRectangle *mouse_list;
  GaugeCallback gauge_callback; // null for gauges without one
  uintptr_t host_working[8];
};

using ModuleRoutine = void (*)();

struct LinkageRecord {
  uint32_t module_id; // kModuleId
  ModuleRoutine start;
  ModuleRoutine stop;
  uint32_t reserved_a;
  uint32_t reserved_b;
  uint32_t link_version;   // 0x900 velmar and ostrel, 0x800 durnik
  GaugeHeader *gauges[16]; // ended by a null pointer
};

struct ImportEntry {
  uint32_t id;
  const PanelServices *services;
};

struct ImportTableRecord {
  ImportEntry panel; // id kImportPanelServices, services written by the host
  ImportEntry end;   // 0, null
};

} // extern "C"
