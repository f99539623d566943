#include "velmar/lnav/polar_file.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "velmar/regular_file.h"

namespace lnav {
namespace {

// Longest number text looked at; any sensible "%12.7f" value is far shorter.
constexpr int kNumberChars = 63;
constexpr int kPolarValues = 5;
// Longest line read, newline included; a file with a longer line is no polar
// file and is not read on (it could be one endless line).
constexpr int kMaxLineBytes = 4096;
// Suffix of the file written first and renamed to the polar file's name only
// when complete.
constexpr char kTemporarySuffix[] = ".tmp";

enum class LineRead { kLine, kEnd, kTooLong };

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool is_number_char(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

// Reads one line whole: its first kNumberChars characters into `text`
// (terminated), the rest up to and including the newline discarded. kEnd at
// end of file (or a read error) before any character; kTooLong once a line
// has taken kMaxLineBytes without its newline.
LineRead read_line(std::FILE *file, char (&text)[kNumberChars + 1]) {
  int length = 0;
  int bytes = 1;
  int c = std::fgetc(file);
  text[0] = '\0';
  if (c == EOF) {
    return LineRead::kEnd;
  }
  while (c != EOF && c != '\n') {
    if (length < kNumberChars) {
      text[length++] = static_cast<char>(c);
    }
    if (++bytes > kMaxLineBytes) {
      text[length] = '\0';
      return LineRead::kTooLong;
    }
    c = std::fgetc(file);
  }
  text[length] = '\0';
  return LineRead::kLine;
}

// A new file at `path` for writing, or nullptr. A file of that name left by
// an earlier write cut short (a crash) is removed first; anything else there
// (a folder) makes it fail.
std::FILE *create_new_file(const char *path) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  constexpr mode_t kMode = 0666; // less the umask, as any new file
  int fd = ::open(path, kFlags, kMode);
  if (fd < 0 && errno == EEXIST && ::unlink(path) == 0) {
    fd = ::open(path, kFlags, kMode);
  }
  if (fd < 0) {
    return nullptr;
  }
  std::FILE *file = ::fdopen(fd, "w");
  if (file == nullptr) {
    ::close(fd);
  }
  return file;
}

// Nothing at all has this name, not even a dangling link.
bool name_is_free(const char *path) {
  struct stat info {};
  return ::lstat(path, &info) != 0 && errno == ENOENT;
}

double *polar_slot(Polar &polar, int index) {
  switch (index) {
  case 0:
    return &polar.a;
  case 1:
    return &polar.b;
  case 2:
    return &polar.c;
  case 3:
    return &polar.reference_mass_kg;
  default:
    return &polar.reserved;
  }
}

} // namespace

double leading_number(const char *line) {
  while (is_blank(*line)) {
    ++line;
  }
  // Only the run of characters that can belong to a decimal number goes to
  // strtod, so hexadecimal, "inf" and "nan" never parse.
  char number[kNumberChars + 1];
  int length = 0;
  while (length < kNumberChars && is_number_char(line[length])) {
    number[length] = line[length];
    ++length;
  }
  number[length] = '\0';
  const double value = std::strtod(number, nullptr);
  return std::isfinite(value) ? value : 0.0;
}

bool read_polar_stream(std::FILE *file, Polar &polar) {
  Polar values = polar;
  char line[kNumberChars + 1];
  for (int i = 0; i < kPolarValues; ++i) {
    const LineRead read = read_line(file, line);
    if (read == LineRead::kTooLong) {
      return false;
    }
    *polar_slot(values, i) = read == LineRead::kLine ? leading_number(line) : 0.0;
  }
  // A read error is no file to read, not its end.
  if (std::ferror(file) != 0) {
    return false;
  }
  polar = values;
  return true;
}

bool read_polar_file(const char *path, Polar &polar) {
  std::FILE *file = velmar::open_regular_file(path);
  if (file == nullptr) {
    return false;
  }
  const bool read = read_polar_stream(file, polar);
  std::fclose(file);
  return read;
}

bool create_polar_file(const char *path, const Polar &polar) {
  // Whatever has the name already (a file that could not be read, a folder)
  // is left alone.
  if (!name_is_free(path)) {
    return false;
  }
  // Written beside it under another name first: a write that fails half-way
  // (a full disk, often seen only at the close) never leaves a short file
  // that the next power-on would read as the polar and never recreate.
  char temporary_path[PATH_MAX];
  const int length =
      std::snprintf(temporary_path, sizeof temporary_path, "%s%s", path, kTemporarySuffix);
  if (length < 0 || length >= static_cast<int>(sizeof temporary_path)) {
    return false;
  }
  std::FILE *file = create_new_file(temporary_path);
  if (file == nullptr) {
    return false;
  }
  Polar values = polar;
  bool written = true;
  for (int i = 0; i < kPolarValues; ++i) {
    written = std::fprintf(file, "%12.7f\n", *polar_slot(values, i)) > 0 && written;
  }
  written = std::fflush(file) == 0 && written;
  written = ::fsync(::fileno(file)) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (written && name_is_free(path) && std::rename(temporary_path, path) == 0) {
    return true;
  }
  ::unlink(temporary_path);
  return false;
}

void load_or_create_polar_file(const char *path, Polar &polar) {
  if (!read_polar_file(path, polar)) {
    create_polar_file(path, polar);
  }
}

} // namespace lnav
