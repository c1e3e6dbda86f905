#pragma once
// Round steps for the ticks and contours of a figure.

#include <algorithm>
#include <cmath>

namespace figures {

/// The smallest of 1, 2, 2.5, 5 times a power of ten that is at least `x` > 0.
inline double RoundStepAtLeast(double x) {
  const double power = std::pow(10.0, std::floor(std::log10(x)));
  for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * power >= x * (1.0 - 1e-12))
      return m * power;
  return 10.0 * power;
}

/// The decimals that show every multiple of `step` exactly (at most 6).
inline int DecimalsOfStep(double step) {
  for (int d = 0; d < 6; ++d) {
    const double scaled = step * std::pow(10.0, d);
    if (std::fabs(scaled - std::round(scaled)) < 1e-9 * std::max(1.0, scaled))
      return d;
  }
  return 6;
}

}  // namespace figures
