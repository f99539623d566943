#include "durnik/common.h"

#include <cmath>

namespace durnik {

int32_t truncate_i32(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= 2147483647.0) {
    return INT32_MAX;
  }
  if (value <= -2147483648.0) {
    return INT32_MIN;
  }
  return static_cast<int32_t>(value);
}

int32_t ignore_services(GaugeHeader *, int32_t, uint32_t) {
  return 0;
}

} // namespace durnik
