#pragma once
// Round steps for a figure's ticks and contour levels, and the decimals that
// show them. Plain numbers, no units: a step is in whatever unit the axis or
// the quantity has.

#include <algorithm>
#include <cmath>
#include <vector>

namespace geometry {

/// Most ticks an axis carries, whatever rounding does.
inline constexpr int kMaxTicks = 200;

/// 1, 2 or 5 times a power of ten, the smallest such at least `step` (> 0).
double NiceStep(double step);

/// The 1-2-5 step next below the 1-2-5 step `step`: 5 -> 2 -> 1 -> 0.5.
double SmallerStep(double step);

/// Decimals (0 to 18) that show every multiple of a 1-2-5 step exactly.
int StepDecimals(double step);

/// The multiples of `step` in [min, max], ascending; at most kMaxTicks.
std::vector<double> TickValues(double min, double max, double step);

/// The smallest of 1, 2, 2.5, 5 times a power of ten that is at least `x` > 0.
inline double RoundStepAtLeast(double x) {
  const double power = std::pow(10.0, std::floor(std::log10(x)));
  for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * power >= x * (1.0 - 1e-12))
      return m * power;
  return 10.0 * power;
}

/// The decimals (at most 6) that show every multiple of any `step` exactly:
/// for the 1-2-2.5-5 steps of RoundStepAtLeast; StepDecimals is for 1-2-5 steps.
inline int DecimalsOfStep(double step) {
  for (int d = 0; d < 6; ++d) {
    const double scaled = step * std::pow(10.0, d);
    if (std::fabs(scaled - std::round(scaled)) < 1e-9 * std::max(1.0, scaled))
      return d;
  }
  return 6;
}

}  // namespace geometry
