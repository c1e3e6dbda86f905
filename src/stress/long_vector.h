#pragma once
// Three-component vectors in extended precision for the axis computations.
// Internal to the stress library. Frame: see stress/stress_state.h.

#include <array>
#include <cmath>

#include "numeric/extended.h"
#include "numeric/floating_point_error.h"
#include "stress/stress_state.h"

namespace stress::detail {

using LongVector = std::array<numeric::Extended, 3>;

inline LongVector Extend(const Vector3& v) {
  return {v.x, v.y, v.z};
}

/// Rounds each component to double; throws on overflow (numeric::Store).
inline Vector3 StoreVector(const LongVector& v) {
  return {numeric::Store(v[0]), numeric::Store(v[1]), numeric::Store(v[2])};
}

inline numeric::Extended Dot(const LongVector& a, const LongVector& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline LongVector Cross(const LongVector& a, const LongVector& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

inline LongVector Sum(const LongVector& a, const LongVector& b) {
  return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

inline LongVector Scaled(const LongVector& v, numeric::Extended f) {
  return {v[0] * f, v[1] * f, v[2] * f};
}

inline numeric::Extended Norm(const LongVector& v) {
  return std::sqrt(Dot(v, v));
}

/// v / |v|; the caller guarantees v != 0.
inline LongVector Normalised(const LongVector& v) {
  return Scaled(v, 1.0 / Norm(v));
}

}  // namespace stress::detail
