// The fixed tables that hold "RUR-UDI.dat" in memory: every record is a set of
// fixed-width texts (cut or blank-padded on the right, plus a terminator);
// numbers are read from them only when needed.
#pragma once

#include <cstdint>

namespace velmar::gpsnav {

inline constexpr int32_t kTurnpointSlots = 355; // lines of the file that are kept
inline constexpr int32_t kTaskSlots = 100;      // task lines that are kept
inline constexpr int32_t kListSlots = 256;      // names and distance keys that are kept

// Field widths in characters; every stored field holds exactly this many.
inline constexpr int kNumberChars = 4;
inline constexpr int kPositionChars = 12;
inline constexpr int kElevationChars = 6;
inline constexpr int kAttributeChars = 9;
inline constexpr int kNameChars = 12;
inline constexpr int kRemarkChars = 12;
inline constexpr int kDistanceKeyChars = 12;

// Record index that a task lookup gives when it finds no turnpoint.
inline constexpr int32_t NO_TASK_POINT = 999;

// One line of the file, fields 1 to 7, and the key written by the distance list.
struct TurnpointRecord {
  char number[kNumberChars + 1];            // "12  "; a capital A makes it a task line too
  char latitude[kPositionChars + 1];        // "52:30.500N  " or "52:30:30N   "
  char longitude[kPositionChars + 1];       // "005:07.200E "
  char elevation[kElevationChars + 1];      // metres; feet were converted at load ("457M  ")
  char attributes[kAttributeChars + 1];     // letters T S F R (turnpoints), A L M W (landpoints), H
  char name[kNameChars + 1];                // shown on the second display line
  char remark[kRemarkChars + 1];            // shown on the navigation page
  char distance_key[kDistanceKeyChars + 1]; // "%12.8f" km, written by the distance list build
};

struct TurnpointTable {
  TurnpointRecord records[kTurnpointSlots]; // slots at and beyond record_count are empty
  int32_t record_count;
};

// Taken from a record whose number field contains a capital A.
struct TaskEntry {
  char key[kNumberChars + 1];       // the record's number: task letter and point, "B3  "
  char turnpoint[kNumberChars + 1]; // first 4 characters of the record's latitude field
  char leg[kPositionChars + 1];     // the record's longitude field: leg length in km
};

struct TaskTable {
  TaskEntry entries[kTaskSlots]; // filled in file order; unused slots match no search
  int32_t entry_count;
};

struct ListSlot {
  char text[kNameChars + 1];
};

// Names of the turnpoints (T, S, F or R); unused slots hold kNameFiller and
// all 256 slots are sorted together in byte order.
struct NameList {
  ListSlot slots[kListSlots];
  int32_t name_count;
};
inline constexpr const char *kNameFiller = "ZZZZZZZZZZZZ";

// Distance keys of the listed records, sorted: the nearest first.
struct DistanceList {
  ListSlot slots[kListSlots];
  int32_t distance_count;
};

// Display copies of the record that the gauge currently shows; the position
// comes from here, and the name, remark and elevation are shown.
struct ShownTurnpoint {
  char latitude[kPositionChars + 1];
  char longitude[kPositionChars + 1];
  char elevation[kElevationChars + 1];
  char attributes[kAttributeChars + 1];
  char name[kNameChars + 1];
  char remark[kRemarkChars + 1];
  char distance_key[kDistanceKeyChars + 1];
};

} // namespace velmar::gpsnav
