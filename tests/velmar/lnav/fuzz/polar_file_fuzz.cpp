// libFuzzer target: any bytes as "LNAV_polar.dat". Reading never fails on an
// open stream and leaves five finite numbers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "velmar/lnav/polar_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "r");
  if (file == nullptr) {
    return 0; // fmemopen refuses an empty buffer
  }
  lnav::Polar polar = {.a = 1, .b = 2, .c = 3, .reference_mass_kg = 4, .reserved = 5};
  if (!lnav::read_polar_stream(file, polar)) {
    std::abort();
  }
  std::fclose(file);
  for (double value : {polar.a, polar.b, polar.c, polar.reference_mass_kg, polar.reserved}) {
    if (!std::isfinite(value)) {
      std::abort();
    }
  }
  return 0;
}
