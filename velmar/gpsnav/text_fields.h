// Reading numbers out of the fixed-width texts of the turnpoint records.
#pragma once

#include <cstddef>

namespace velmar::gpsnav {

// Value of the leading decimal number of `text` (blanks skipped, optional
// sign, digits, optional fraction; no exponent, no hex), or 0 when there is
// none: "1500F" -> 1500, "457M  " -> 457, " 12.50" -> 12.5, "N/A" -> 0.
double leading_number(const char *text);

// Leading number of characters first_char to last_char of `text`, counted
// from 1 (fewer when the text ends earlier).
double number_at(const char *text, int first_char, int last_char);

// Copies `text` into `out` of `size` bytes, cut to width characters and
// blank-padded on the right to width ("%-*.*s"); always terminated.
void copy_padded(char *out, size_t size, const char *text, int width);

} // namespace velmar::gpsnav
