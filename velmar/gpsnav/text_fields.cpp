#include "velmar/gpsnav/text_fields.h"

#include "frame/module_frame.h"

namespace velmar::gpsnav {
namespace {

constexpr bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Digits past this many add nothing a double can hold.
constexpr int kMaxFractionDigits = 17;

} // namespace

double leading_number(const char *text) {
  const char *p = text;
  while (*p == ' ' || *p == '\t') {
    ++p;
  }
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  double value = 0.0;
  for (; is_digit(*p); ++p) {
    value = value * 10.0 + (*p - '0');
  }
  if (*p == '.') {
    ++p;
    double fraction = 0.0;
    double scale = 1.0;
    for (int n = 0; is_digit(*p); ++p, ++n) {
      if (n < kMaxFractionDigits) {
        fraction = fraction * 10.0 + (*p - '0');
        scale *= 10.0;
      }
    }
    value += fraction / scale;
  }
  return negative ? -value : value;
}

double number_at(const char *text, int first_char, int last_char) {
  char part[16] = {};
  int n = 0;
  for (int i = 0; i < first_char - 1; ++i) {
    if (text[i] == '\0') {
      return 0.0;
    }
  }
  for (int i = first_char - 1; i < last_char && n < static_cast<int>(sizeof part) - 1; ++i) {
    if (text[i] == '\0') {
      break;
    }
    part[n++] = text[i];
  }
  return leading_number(part);
}

void copy_padded(char *out, size_t size, const char *text, int width) {
  frame::format_into(out, size, "%-*.*s", width, width, text);
}

} // namespace velmar::gpsnav
