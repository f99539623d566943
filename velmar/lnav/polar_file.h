// "LNAV_polar.dat": the glider's polar as five lines of text, one number each,
// in the order a, b, c, reference mass (kg), reserved value. Every line as
// written is the number in "%12.7f" and a newline; the initial polar reads
//
//     -0.0001165
//      0.0138864
//     -0.8118127
//      0.0000000
//      0.0000000
//
// Opened by its bare name in the working folder, read at every power-on of
// lnav and created from the values in memory when missing. Plain stdio and
// POSIX files, no host services.
#pragma once

#include <cstdio>

#include "velmar/lnav/glide_math.h"

namespace lnav {

inline constexpr char kPolarFileName[] = "LNAV_polar.dat";

// The leading decimal number of a line: blanks may precede it; a line without
// one, or a number too large for a double, reads as 0.0. Only decimal
// notation counts ("0x10" reads 0, "inf" and "nan" read 0.0).
double leading_number(const char *line);

// Reads the five values from `path` into `polar`, each from a whole line of
// up to 4096 bytes; a missing line reads as 0.0. Returns false, leaving
// `polar` untouched, when the file cannot be opened, is no regular file (a
// folder, a FIFO, a device), has a longer line or cannot be read.
bool read_polar_file(const char *path, Polar &polar);

// The same from an open stream, which stays open.
bool read_polar_stream(std::FILE *file, Polar &polar);

// Writes the five values of `polar` to `path`, each "%12.7f" and a newline,
// but only when nothing of that name exists yet: an existing file that could
// not be read is never replaced or appended to. The values go to
// `path` + ".tmp" first, which takes the name only when every write and the
// close succeeded and is removed otherwise. Returns whether the file was
// written.
bool create_polar_file(const char *path, const Polar &polar);

// Reads `path`, or creates it from `polar` when it cannot be read.
void load_or_create_polar_file(const char *path, Polar &polar);

} // namespace lnav
