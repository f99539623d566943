// The modules' text formatting: vsnprintf's output and result, byte for
// byte, several times faster for what the gauges format on every update.
// Handled here: %d %i %u %x %X (with l, ll, h, hh), %c, %s, %f with at most
// three decimals and a magnitude under 1e15, %%; flags - and 0; width and
// precision, also as *. Anything else (another conversion or flag, more
// decimals, a larger or non-finite number, a null string, a precision on an
// integer) goes to vsnprintf for the whole text.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace frame {

// A va_list used where it was started (not copied), so that the functions
// that take its arguments one by one share it on every ABI.
struct VarArgs {
  va_list list;
};

// Like vsnprintf: writes at most size - 1 characters and a terminator (when
// size > 0) and returns the length the whole text would have had. `again`
// is a second va_start of the same arguments, for vsnprintf when the format
// is not one of ours (cheaper than a va_copy, which stalls on reading back
// what va_start has just written).
int format_args(char *out, size_t size, const char *format, VarArgs &args, VarArgs &again);

} // namespace frame
