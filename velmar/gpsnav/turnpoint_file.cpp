#include "velmar/gpsnav/turnpoint_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "frame/module_frame.h"
#include "velmar/gpsnav/state.h"
#include "velmar/gpsnav/text_fields.h"
#include "velmar/gpsnav/units.h"
#include "velmar/regular_file.h"

namespace velmar::gpsnav {
namespace {

// Longest line read, line feed included: far beyond any turnpoint line, so
// that only a file of one endless line (no turnpoint file) ends early. The
// file counts as ending before such a line.
constexpr size_t kMaxLineBytes = 64 * 1024;

// Reads one line ended by a line feed into `line` without its line end (a
// carriage return before the line feed is dropped). Keeps the first
// kLineChars characters and skips the rest. Returns false at the end of the
// file, at a read error (see ferror) and before a line longer than
// kMaxLineBytes; text after the last line feed is not a line.
bool read_line(std::FILE *file, char (&line)[kLineBufferBytes]) {
  // One slot beyond kLineChars holds a carriage return that may precede the
  // line feed of a line of exactly kLineChars characters.
  constexpr size_t kKept = kLineChars + 1;
  size_t kept = 0;
  size_t seen = 0;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c == '\n') {
      if (seen == kept && kept > 0 && line[kept - 1] == '\r') {
        --kept;
      }
      line[std::min(kept, static_cast<size_t>(kLineChars))] = '\0';
      return true;
    }
    if (kept < kKept) {
      line[kept++] = static_cast<char>(c);
    }
    if (++seen >= kMaxLineBytes) {
      return false;
    }
  }
  return false;
}

bool contains_any(const char *text, const char *letters) {
  return std::strpbrk(text, letters) != nullptr;
}

// Elevation field: cut and padded to 6; a text with a capital F is feet and
// becomes whole metres followed by M ("1500F" -> "457M  ").
void store_elevation(char (&out)[kElevationChars + 1], const char *field) {
  copy_padded(out, sizeof out, field, kElevationChars);
  if (std::strchr(out, 'F') != nullptr) {
    char metres[kLineBytes];
    frame::format_into(metres, sizeof metres, "%0.0fM", feet_to_metres(leading_number(out)));
    copy_padded(out, sizeof out, metres, kElevationChars);
  }
}

void store_record(TurnpointRecord &record, const char *line) {
  char field[kLineBufferBytes];
  split_field(line, 1, field, sizeof field);
  copy_padded(record.number, sizeof record.number, field, kNumberChars);
  split_field(line, 2, field, sizeof field);
  copy_padded(record.latitude, sizeof record.latitude, field, kPositionChars);
  split_field(line, 3, field, sizeof field);
  copy_padded(record.longitude, sizeof record.longitude, field, kPositionChars);
  split_field(line, 4, field, sizeof field);
  store_elevation(record.elevation, field);
  split_field(line, 5, field, sizeof field);
  copy_padded(record.attributes, sizeof record.attributes, field, kAttributeChars);
  split_field(line, 6, field, sizeof field);
  copy_padded(record.name, sizeof record.name, field, kNameChars);
  split_field(line, 7, field, sizeof field);
  copy_padded(record.remark, sizeof record.remark, field, kRemarkChars);
}

// Turnpoint names (T, S, F, R) in file order, as many as the list holds; then
// all slots, fillers included, in byte order.
void fill_name_list() {
  for (int32_t i = 0; i < turnpoints.record_count && names.name_count < kListSlots; ++i) {
    const TurnpointRecord &record = turnpoints.records[i];
    if (contains_any(record.attributes, "TSFR")) {
      copy_padded(names.slots[names.name_count].text, sizeof names.slots[0].text, record.name,
                  kNameChars);
      ++names.name_count;
    }
  }
  std::sort(std::begin(names.slots), std::end(names.slots),
            [](const ListSlot &a, const ListSlot &b) { return std::strcmp(a.text, b.text) < 0; });
}

void fill_task_table() {
  for (int32_t i = 0; i < turnpoints.record_count && tasks.entry_count < kTaskSlots; ++i) {
    const TurnpointRecord &record = turnpoints.records[i];
    if (std::strchr(record.number, 'A') == nullptr) {
      continue;
    }
    TaskEntry &entry = tasks.entries[tasks.entry_count++];
    copy_padded(entry.key, sizeof entry.key, record.number, kNumberChars);
    copy_padded(entry.turnpoint, sizeof entry.turnpoint, record.latitude, kNumberChars);
    copy_padded(entry.leg, sizeof entry.leg, record.longitude, kPositionChars);
  }
}

} // namespace

void reset_tables() {
  // memset rather than assigning {}: no table-sized temporary on the stack.
  std::memset(&turnpoints, 0, sizeof turnpoints);
  std::memset(&tasks, 0, sizeof tasks);
  for (ListSlot &slot : names.slots) {
    copy_padded(slot.text, sizeof slot.text, kNameFiller, kNameChars);
  }
  names.name_count = 0;
  std::memset(&distances, 0, sizeof distances);
}

int32_t load_turnpoint_file() {
  std::FILE *file = open_regular_file(kTurnpointFileName);
  if (file == nullptr) {
    return 0;
  }
  char line[kLineBufferBytes];
  while (turnpoints.record_count < kTurnpointSlots && read_line(file, line)) {
    store_record(turnpoints.records[turnpoints.record_count], line);
    ++turnpoints.record_count;
  }
  // A read error is no file to read, not its end.
  const bool read_failed = std::ferror(file) != 0;
  std::fclose(file);
  if (read_failed) {
    reset_tables();
    return 0;
  }
  fill_name_list();
  fill_task_table();
  return 1;
}

void split_field(const char *line, int n, char *out, size_t size) {
  const char *p = line;
  for (int i = 1; i < n; ++i) {
    while (*p != '\0' && *p != ',') {
      ++p;
    }
    if (*p == ',') {
      ++p;
    }
  }
  size_t length = 0;
  while (p[length] != '\0' && p[length] != ',' && p[length] != '\n') {
    ++length;
  }
  frame::format_into(out, size, "%.*s", static_cast<int>(length), p);
}

} // namespace velmar::gpsnav
