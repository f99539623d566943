// Reading "RUR-UDI.dat", the comma-separated turnpoint and task file, into the
// fixed tables. The file is never written.
//
//   12,52:30.500N,005:07.200E,1500F,TA,Hilltop Farm,Grass 800m
//   A0,12,0,,,,
//   A1,7,45.5,,,,
//
// Every line becomes a record, comment lines included; a line whose first
// field contains a capital A is also a task entry (key, turnpoint number, leg
// in km).
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmar::gpsnav {

// Longest line kept, in characters before the line end; the rest of a longer
// line is skipped.
inline constexpr int kLineChars = 510;
inline constexpr int kLineBufferBytes = 512;

// The file, opened by its bare name in the process's working folder.
inline constexpr const char *kTurnpointFileName = "RUR-UDI.dat";

// Empties every record and task slot, fills the name list with the filler,
// empties the distance list, and sets the counts to 0.
void reset_tables();

// Reads the file into the tables. Returns 1 when it was opened and read, 0
// when it could not be opened, is no regular file (a folder, a FIFO, a
// device) or could not be read to its end (the tables stay as reset). Lines
// beyond the table's slots, names beyond the name list's and task lines
// beyond the task table's are not taken; a line without a line end at the
// end of the file is ignored, and so is everything from a line of 64 KiB
// or more.
int32_t load_turnpoint_file();

// Copies the n-th comma-separated field of `line` (n from 1; empty when the
// line has fewer fields) into `out` of `size` bytes, cut to fit, terminated.
// A field ends at a comma, a line feed or the end of the text.
void split_field(const char *line, int n, char *out, size_t size);

} // namespace velmar::gpsnav
