#pragma once

#include <cmath>

// Nearest integer, halves to the even neighbour, whatever the current rounding mode.
inline double RoundHalfEven(double x) {
  const double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
  return r;
}
