#include "frame/text_format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace frame {
namespace {

// Bounded output that counts what it could not write.
struct Output {
  char *out;
  size_t size;
  size_t length = 0;

  void put(char c) {
    if (length + 1 < size) {
      out[length] = c;
    }
    ++length;
  }
  void put(const char *text, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      put(text[i]);
    }
  }
  void pad(char c, int n) {
    for (int i = 0; i < n; ++i) {
      put(c);
    }
  }
  void finish() {
    if (size > 0) {
      out[length < size ? length : size - 1] = '\0';
    }
  }
};

struct Conversion {
  bool left = false;  // '-'
  bool zeros = false; // '0'
  int width = 0;
  int precision = -1; // none
  int length = 0;     // -2 hh, -1 h, 0 none, 1 l, 2 ll
  char conversion = 0;
};

// Digits of `value`, most significant first, into the end of `buffer`;
// returns where they start.
char *digits_of(uint64_t value, char *end, bool upper_hex, unsigned base) {
  const char *set = upper_hex ? "0123456789ABCDEF" : "0123456789abcdef";
  char *p = end;
  do {
    *--p = set[value % base];
    value /= base;
  } while (value != 0);
  return p;
}

// A number's sign and digits, padded to the width as printf pads them.
void put_number(Output &o, const Conversion &s, bool negative, const char *body, size_t n) {
  const int used = static_cast<int>(n) + (negative ? 1 : 0);
  const int fill = s.width > used ? s.width - used : 0;
  if (!s.left && !s.zeros) {
    o.pad(' ', fill);
  }
  if (negative) {
    o.put('-');
  }
  if (!s.left && s.zeros) {
    o.pad('0', fill);
  }
  o.put(body, n);
  if (s.left) {
    o.pad(' ', fill);
  }
}

constexpr int kMaxWidth = 100000; // far beyond any buffer: vsnprintf's business
constexpr int kMaxFastDecimals = 3;
constexpr double kMaxFastMagnitude = 1e15;
constexpr uint64_t kPowersOfTen[] = {1, 10, 100, 1000};

// %f of a finite double under 1e15 with 0 to 3 decimals, in integers: the
// value is M * 2^e with M under 2^53, so M * 10^decimals (10^3 < 2^10) fits
// 64 bits, and shifting it right by -e with the bits shifted out compared
// against one half rounds the exact binary value half to even, as printf
// does.
void put_fixed(Output &o, const Conversion &s, double value, int decimals) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t significand = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int exponent = biased == 0 ? -1074 : biased - 1075;
  uint64_t whole;
  if (exponent >= 0) {
    whole = (significand << exponent) * kPowersOfTen[decimals]; // under 1e18: no overflow
  } else {
    const uint64_t scaled = significand * kPowersOfTen[decimals];
    const int shift = -exponent;
    if (shift >= 64) {
      whole = 0; // under 2^63 / 2^64: less than a half
    } else {
      whole = scaled >> shift;
      const uint64_t rest = scaled & ((uint64_t{1} << shift) - 1);
      const uint64_t half = uint64_t{1} << (shift - 1);
      if (rest > half || (rest == half && (whole & 1) != 0)) {
        ++whole;
      }
    }
  }
  char buffer[32];
  char *end = buffer + sizeof buffer;
  char *p = end;
  if (decimals > 0) {
    for (int i = 0; i < decimals; ++i) {
      *--p = static_cast<char>('0' + whole % 10);
      whole /= 10;
    }
    *--p = '.';
  }
  p = digits_of(whole, p, false, 10);
  put_number(o, s, negative, p, static_cast<size_t>(end - p));
}

// One conversion; false when it is not one of ours (nothing written then
// matters: the caller starts again with vsnprintf).
bool convert(Output &o, const Conversion &s, VarArgs &args) {
  switch (s.conversion) {
  case 'd':
  case 'i': {
    if (s.precision >= 0) {
      return false;
    }
    long long v = s.length >= 2   ? va_arg(args.list, long long)
                  : s.length == 1 ? va_arg(args.list, long)
                                  : va_arg(args.list, int);
    if (s.length == -1) {
      v = static_cast<short>(v);
    } else if (s.length == -2) {
      v = static_cast<signed char>(v);
    }
    const bool negative = v < 0;
    const uint64_t magnitude = negative ? ~static_cast<uint64_t>(v) + 1 : static_cast<uint64_t>(v);
    char buffer[24];
    char *end = buffer + sizeof buffer;
    char *p = digits_of(magnitude, end, false, 10);
    put_number(o, s, negative, p, static_cast<size_t>(end - p));
    return true;
  }
  case 'u':
  case 'x':
  case 'X': {
    if (s.precision >= 0) {
      return false;
    }
    unsigned long long v = s.length >= 2   ? va_arg(args.list, unsigned long long)
                           : s.length == 1 ? va_arg(args.list, unsigned long)
                                           : va_arg(args.list, unsigned);
    if (s.length == -1) {
      v = static_cast<unsigned short>(v);
    } else if (s.length == -2) {
      v = static_cast<unsigned char>(v);
    }
    char buffer[24];
    char *end = buffer + sizeof buffer;
    char *p = digits_of(v, end, s.conversion == 'X', s.conversion == 'u' ? 10 : 16);
    put_number(o, s, false, p, static_cast<size_t>(end - p));
    return true;
  }
  case 'c': {
    if (s.length != 0 || s.zeros) {
      return false;
    }
    const char c = static_cast<char>(va_arg(args.list, int));
    put_number(o, s, false, &c, 1);
    return true;
  }
  case 's': {
    if (s.length != 0 || s.zeros) {
      return false;
    }
    const char *text = va_arg(args.list, const char *);
    if (text == nullptr) {
      return false;
    }
    const size_t n =
        s.precision >= 0 ? strnlen(text, static_cast<size_t>(s.precision)) : std::strlen(text);
    put_number(o, s, false, text, n);
    return true;
  }
  case 'f': {
    if (s.length != 0) {
      return false;
    }
    const double v = va_arg(args.list, double);
    const int decimals = s.precision >= 0 ? s.precision : 6;
    if (decimals > kMaxFastDecimals || !std::isfinite(v) || std::fabs(v) >= kMaxFastMagnitude) {
      return false;
    }
    put_fixed(o, s, v, decimals);
    return true;
  }
  default:
    return false;
  }
}

// A decimal number or '*' (taken from the arguments) at `p`.
int read_count(const char *&p, VarArgs &args, bool &from_args) {
  from_args = false;
  if (*p == '*') {
    ++p;
    from_args = true;
    return va_arg(args.list, int);
  }
  int n = 0;
  while (*p >= '0' && *p <= '9') {
    if (n > kMaxWidth) {
      return -1;
    }
    n = n * 10 + (*p++ - '0');
  }
  return n;
}

bool format_fast(Output &o, const char *format, VarArgs &args) {
  for (const char *p = format; *p != '\0';) {
    if (*p != '%') {
      o.put(*p++);
      continue;
    }
    ++p;
    if (*p == '%') {
      o.put('%');
      ++p;
      continue;
    }
    Conversion s;
    for (;; ++p) {
      if (*p == '-') {
        s.left = true;
      } else if (*p == '0') {
        s.zeros = true;
      } else if (*p == '+' || *p == ' ' || *p == '#' || *p == '\'') {
        return false;
      } else {
        break;
      }
    }
    bool from_args = false;
    s.width = read_count(p, args, from_args);
    if (s.width < 0) {
      if (!from_args) {
        return false;
      }
      s.left = true; // a negative width from the arguments
      s.width = s.width == INT32_MIN ? INT32_MAX : -s.width;
    }
    if (*p == '$') {
      return false;
    }
    if (*p == '.') {
      ++p;
      s.precision = read_count(p, args, from_args);
      if (s.precision < 0 && !from_args) {
        return false;
      }
      if (s.precision < 0) {
        s.precision = -1; // a negative precision from the arguments: none
      }
    }
    if (s.width > kMaxWidth || s.precision > kMaxWidth) {
      return false;
    }
    if (s.left) {
      s.zeros = false;
    }
    if (*p == 'h') {
      s.length = -1;
      if (*++p == 'h') {
        s.length = -2;
        ++p;
      }
    } else if (*p == 'l') {
      s.length = 1;
      if (*++p == 'l') {
        s.length = 2;
        ++p;
      }
    }
    s.conversion = *p;
    if (s.conversion == '\0' || !convert(o, s, args)) {
      return false;
    }
    ++p;
  }
  return true;
}

} // namespace

int format_args(char *out, size_t size, const char *format, VarArgs &args, VarArgs &again) {
  Output o{out, size};
  if (!format_fast(o, format, args) || o.length > INT32_MAX) {
    return std::vsnprintf(out, size, format, again.list);
  }
  o.finish();
  return static_cast<int>(o.length);
}

} // namespace frame
