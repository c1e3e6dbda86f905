#pragma once
// Extended-precision constants and elementary functions.
// Angles in radians. The sine and the cosine return 0 for an argument whose
// magnitude is 2^63 or more (where the x87 instructions give no reduction);
// the tangent has no result there and raises an invalid operation. Square
// roots of negative values are invalid operations as well.

#include <cmath>

#include "numeric/floating_point_error.h"

namespace numeric {

inline constexpr long double kPi = 3.141592653589793238462643383279502884L;
inline constexpr long double kHalfPi = kPi / 2.0L;
inline constexpr long double kTwoPi = kPi * 2.0L;

/// Arguments at or beyond this magnitude have no reduced trigonometric value.
inline constexpr long double kTrigLimit = 9223372036854775808.0L;  // 2^63

inline long double Sin(long double x) {
  return std::fabs(x) >= kTrigLimit ? 0.0L : std::sin(x);
}
inline long double Cos(long double x) {
  return std::fabs(x) >= kTrigLimit ? 0.0L : std::cos(x);
}

/// A sine and a cosine of one angle.
struct SineCosine {
  long double sin;
  long double cos;
};

/// Sin(x) and Cos(x), the same values as the two calls give, from one
/// argument reduction: the compiler makes the adjacent sine and cosine of one
/// argument a single sincos call, which reduces once for both.
inline SineCosine SinCos(long double x) {
  if (std::fabs(x) >= kTrigLimit)
    return {0.0L, 0.0L};
  return {std::sin(x), std::cos(x)};
}

/// Tangent; throws "Invalid floating point operation" at |x| >= 2^63.
inline long double Tan(long double x) {
  if (!(std::fabs(x) < kTrigLimit))
    ThrowInvalidOperation();
  return std::tan(x);
}

/// Square root; throws "Invalid floating point operation" for x < 0 or NaN.
inline long double Sqrt(long double x) {
  if (!(x >= 0.0L))
    ThrowInvalidOperation();
  return std::sqrt(x);
}

/// Degrees to radians as value * pi / 180 (multiply first).
inline long double DegreesToRadians(long double degrees) {
  return degrees * kPi / 180.0L;
}
/// Radians to degrees as value * 180 / pi.
inline long double RadiansToDegrees(long double radians) {
  return radians * 180.0L / kPi;
}

}  // namespace numeric
