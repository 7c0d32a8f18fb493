#include "core/Ticks.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kFewest = 4, kMost = 8;

// Multiples a rounding error away from an end still count.
constexpr double kSlack = 1e-9;

double First(double low, double step) { return std::ceil(low / step - kSlack); }
double Last(double high, double step) { return std::floor(high / step + kSlack); }
double Count(double low, double high, double step) {
  return Last(high, step) - First(low, step) + 1;
}

double Distance(double n) { return n < kFewest ? kFewest - n : n > kMost ? n - kMost : 0; }

}  // namespace

std::vector<double> RoundTicks(double low, double high) {
  std::vector<double> ticks;
  if (!(high > low) || !std::isfinite(high - low)) return ticks;
  // From steps that give many ticks to steps that give few.
  const double power = std::pow(10.0, std::floor(std::log10(high - low)) - 2);
  double chosen = 0;
  for (double p = power; p <= power * 1000; p *= 10) {
    for (const double m : {1.0, 2.0, 5.0}) {
      const double step = m * p;
      const double d = Distance(Count(low, high, step));
      const double best = chosen == 0 ? 0 : Distance(Count(low, high, chosen));
      if (chosen == 0 || d < best || (d == best && d > 0)) chosen = step;
    }
  }
  for (double k = First(low, chosen); k <= Last(high, chosen); ++k)
    ticks.push_back(k == 0 ? 0.0 : k * chosen);
  return ticks;
}
