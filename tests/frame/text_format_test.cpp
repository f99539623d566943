// The modules' formatter gives vsnprintf's text and result for every format
// the gauges use and for the cases at its edges; the C library is the
// reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "frame/text_format.h"

namespace {

struct Result {
  std::string text;
  int length;
};

Result ours(size_t size, const char *format, ...) {
  char buffer[160];
  std::memset(buffer, '#', sizeof buffer);
  frame::VarArgs args, again;
  va_start(args.list, format);
  va_start(again.list, format);
  const int n = frame::format_args(buffer, size, format, args, again);
  va_end(again.list);
  va_end(args.list);
  return {size > 0 ? std::string(buffer) : std::string(), n};
}

Result reference(size_t size, const char *format, ...) {
  char buffer[160];
  std::memset(buffer, '#', sizeof buffer);
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  return {size > 0 ? std::string(buffer) : std::string(), n};
}

#define EXPECT_SAME(size, ...)                                                                     \
  do {                                                                                             \
    const Result a = ours(size, __VA_ARGS__), b = reference(size, __VA_ARGS__);                    \
    EXPECT_EQ(a.text, b.text) << #__VA_ARGS__;                                                     \
    EXPECT_EQ(a.length, b.length) << #__VA_ARGS__;                                                 \
  } while (0)

TEST(TextFormat, GivesTheCLibrarysText) {
  // Doubles that stress rounding: ties in binary (0.125, 2.5), near-ties
  // that are not (0.15, 1.005), negatives that round to zero, -0.0.
  const double values[] = {0.0,    -0.0,   0.125,   -0.125, 2.5,   3.5,     0.15,
                           1.005,  -0.04,  -0.0004, 99.95,  999.5, 1e14,    -123.456,
                           9.9996, 0.0005, 1e15,    1e300,  NAN,   INFINITY};
  for (double v : values) {
    EXPECT_SAME(128, "%5.1f", v);
    EXPECT_SAME(128, "%4.0f|%03.0f|%05.1f|%-8.2f|%.3f|%0.0fM", v, v, v, v, v, v);
    EXPECT_SAME(128, "%8.*f %s", 1, v, "km/h");
    EXPECT_SAME(128, "%12.*f", 7, v); // more decimals than it does itself
    EXPECT_SAME(128, "%f", v);
  }
  const long long big = std::numeric_limits<long long>::min();
  EXPECT_SAME(128, "%d|%03d|%-5d|%1d|%5i", -7, 7, -42, 123, std::numeric_limits<int>::min());
  EXPECT_SAME(128, "FT%02lld:%02lld:%02lld|%lld", 1LL, 23LL, 456LL, big);
  EXPECT_SAME(128, "%u|%x|%X|%08x|%lx|%hhu|%hd", 4000000000u, 0xbeefu, 0xbeefu, 0x12u, 0xfffffL,
              300, 70000);
  EXPECT_SAME(128, "%c%1d|   Task %c|%-3c|%3c", 'A', 5, 'C', 'x', 'y');
  EXPECT_SAME(128, "%s|%.3s|%.12s%s|%-*.*s|%*s|%.*s", "Weisweiler", "Weisweiler",
              "Aachen Merzbrueck", "!", 9, 4, "ZL RWY", -6, "ab", -1, "whole");
  EXPECT_SAME(128, "100%%|%3d:%05.2f N", 50, 49.375);
  // Cut to the buffer, with the full length returned; nothing written at 0.
  EXPECT_SAME(6, "%8.1f %s", 123.45, "alt");
  EXPECT_SAME(1, "%d", 12345);
  EXPECT_SAME(0, "%s", "text");
  // Left to the C library whole: flags it does not take, a null string.
  EXPECT_SAME(128, "%+d|% d|%#x|%05s", 5, 5, 255, "ab");
  EXPECT_SAME(128, "%s|%d", static_cast<const char *>(nullptr), 3);
  EXPECT_SAME(128, "%.2d|%e|%g", 5, 1.5, 2.25);
}

TEST(TextFormat, RoundsEveryDoubleAsTheCLibraryDoes) {
  std::mt19937_64 random(14);
  std::uniform_real_distribution<double> magnitude(-6, 15);
  for (int i = 0; i < 200000; ++i) {
    const double v = (i % 2 ? -1 : 1) * std::pow(10.0, magnitude(random));
    // Every fourth value sits on a grid of halves of the last decimal.
    const double w = i % 4 == 0 ? std::round(v * 2000) / 2000 : v;
    const Result a = ours(128, "%.0f %.1f %.2f %.3f", w, w, w, w);
    const Result b = reference(128, "%.0f %.1f %.2f %.3f", w, w, w, w);
    ASSERT_EQ(a.text, b.text) << std::hexfloat << w;
  }
}

} // namespace
