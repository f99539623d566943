#include "velmar/lnav/polar_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lnav {
namespace {

// Longest number text looked at; any sensible "%12.7f" value is far shorter.
constexpr int kNumberChars = 63;
constexpr int kPolarValues = 5;

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool is_number_char(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

// Reads one line whole: its first kNumberChars characters into `text`
// (terminated), the rest up to and including the newline discarded. Returns
// false at end of file before any character.
bool read_line(std::FILE *file, char (&text)[kNumberChars + 1]) {
  int length = 0;
  int c = std::fgetc(file);
  if (c == EOF) {
    text[0] = '\0';
    return false;
  }
  while (c != EOF && c != '\n') {
    if (length < kNumberChars) {
      text[length++] = static_cast<char>(c);
    }
    c = std::fgetc(file);
  }
  text[length] = '\0';
  return true;
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
    *polar_slot(values, i) = read_line(file, line) ? leading_number(line) : 0.0;
  }
  // A read error (a folder of that name, for one) is no file to read.
  if (std::ferror(file) != 0) {
    return false;
  }
  polar = values;
  return true;
}

bool read_polar_file(const char *path, Polar &polar) {
  std::FILE *file = std::fopen(path, "r");
  if (file == nullptr) {
    return false;
  }
  const bool read = read_polar_stream(file, polar);
  std::fclose(file);
  return read;
}

bool create_polar_file(const char *path, const Polar &polar) {
  // "x": fails when the file exists, so an unreadable file is left alone.
  std::FILE *file = std::fopen(path, "wx");
  if (file == nullptr) {
    return false;
  }
  Polar values = polar;
  bool written = true;
  for (int i = 0; i < kPolarValues; ++i) {
    written = std::fprintf(file, "%12.7f\n", *polar_slot(values, i)) > 0 && written;
  }
  return std::fclose(file) == 0 && written;
}

void load_or_create_polar_file(const char *path, Polar &polar) {
  if (!read_polar_file(path, polar)) {
    create_polar_file(path, polar);
  }
}

} // namespace lnav
