#include "geometry/steps.h"

namespace geometry {

double NiceStep(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step)));
  const double mantissa = step / power;
  if (mantissa <= 1.0)
    return power;
  if (mantissa <= 2.0)
    return 2.0 * power;
  if (mantissa <= 5.0)
    return 5.0 * power;
  return 10.0 * power;
}

double SmallerStep(double step) {
  // 5 / 2.6, 2 / 2.6 and 1 / 2.6 lie well inside (1, 2], (0.5, 1] and
  // (0.2, 0.5]: rounding cannot tip NiceStep to another step.
  return NiceStep(step / 2.6);
}

int StepDecimals(double step) {
  return std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 18);
}

std::vector<double> TickValues(double min, double max, double step) {
  std::vector<double> ticks;
  const double first = std::ceil(min / step);
  const double last = std::floor(max / step);
  for (double n = first; n <= last && n - first < kMaxTicks; n += 1.0)
    ticks.push_back(n * step);
  return ticks;
}

}  // namespace geometry
