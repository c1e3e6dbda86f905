#pragma once
// Floating-point faults as C++ exceptions.
// The arithmetic of the whole program runs with three conditions raised as
// errors at the operation that causes them: invalid operation, division by
// zero and overflow. Underflow and inexact results are never errors. Formulas
// carry their terms in the extended type (numeric/extended.h) and round to
// double where a quantity is stored; Store() is that rounding, with the checks.

#include <cmath>
#include <concepts>
#include <stdexcept>
#include <string>

#include "numeric/extended.h"

namespace numeric {

inline constexpr const char* kOverflowMessage = "Floating point overflow";
inline constexpr const char* kInvalidOperationMessage = "Invalid floating point operation";
inline constexpr const char* kDivisionByZeroMessage = "Floating point division by zero";

/// A floating-point fault; what() is the message shown to the user.
class FloatingPointError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void ThrowOverflow() {
  throw FloatingPointError(kOverflowMessage);
}
[[noreturn]] inline void ThrowInvalidOperation() {
  throw FloatingPointError(kInvalidOperationMessage);
}
[[noreturn]] inline void ThrowDivisionByZero() {
  throw FloatingPointError(kDivisionByZeroMessage);
}

/// Rounds an extended-precision result (an Extended, or any wider floating
/// type a caller computes in) to the double it is stored as.
/// Throws "Invalid floating point operation" for a NaN and "Floating point
/// overflow" when the magnitude exceeds the double range.
template <std::floating_point Real>
double Store(Real value) {
  if (std::isnan(value))
    ThrowInvalidOperation();
  const double stored = static_cast<double>(value);
  if (std::isinf(stored))
    ThrowOverflow();
  return stored;
}

/// numerator / denominator in the extended type, with the faults of a division:
/// 0/0 is an invalid operation, x/0 for any other x a division by zero.
inline Extended Quotient(Extended numerator, Extended denominator) {
  if (denominator == 0.0) {
    if (numerator == 0.0 || std::isnan(numerator))
      ThrowInvalidOperation();
    ThrowDivisionByZero();
  }
  return numerator / denominator;
}

}  // namespace numeric
