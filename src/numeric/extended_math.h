#pragma once
// Extended-precision constants and elementary functions.
// Angles in radians. The sine and the cosine return 0 for an argument whose
// magnitude is 2^63 or more (where the x87 instructions give no reduction);
// the tangent has no result there and raises an invalid operation. Square
// roots of negative values are invalid operations as well.

#include <cmath>

#include "numeric/extended.h"
#include "numeric/floating_point_error.h"

namespace numeric {

inline constexpr Extended kPi = 3.141592653589793238462643383279502884L;
inline constexpr Extended kHalfPi = kPi / 2.0;
inline constexpr Extended kTwoPi = kPi * 2.0;

/// Arguments at or beyond this magnitude have no reduced trigonometric value.
inline constexpr Extended kTrigLimit = 9223372036854775808.0;  // 2^63

inline Extended Sin(Extended x) {
  return std::fabs(x) >= kTrigLimit ? 0.0 : std::sin(x);
}
inline Extended Cos(Extended x) {
  return std::fabs(x) >= kTrigLimit ? 0.0 : std::cos(x);
}

/// A sine and a cosine of one angle.
struct SineCosine {
  Extended sin;
  Extended cos;
};

/// Sin(x) and Cos(x), the same values as the two calls give, from one
/// argument reduction: the compiler makes the adjacent sine and cosine of one
/// argument a single sincos call, which reduces once for both.
inline SineCosine SinCos(Extended x) {
  if (std::fabs(x) >= kTrigLimit)
    return {0.0, 0.0};
  return {std::sin(x), std::cos(x)};
}

/// Tangent; throws "Invalid floating point operation" at |x| >= 2^63.
inline Extended Tan(Extended x) {
  if (!(std::fabs(x) < kTrigLimit))
    ThrowInvalidOperation();
  return std::tan(x);
}

/// Square root; throws "Invalid floating point operation" for x < 0 or NaN.
inline Extended Sqrt(Extended x) {
  if (!(x >= 0.0))
    ThrowInvalidOperation();
  return std::sqrt(x);
}

/// Degrees to radians as value * pi / 180 (multiply first).
inline Extended DegreesToRadians(Extended degrees) {
  return degrees * kPi / 180.0;
}
/// Radians to degrees as value * 180 / pi.
inline Extended RadiansToDegrees(Extended radians) {
  return radians * 180.0 / kPi;
}

}  // namespace numeric
