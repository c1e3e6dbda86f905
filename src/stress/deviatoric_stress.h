#pragma once
// The stress tensor split into its mean and its deviator, in extended precision.
// Internal to the stress library. Conventions: see stress/stress_state.h.
//
// The mean is kept unrounded, so the deviator's trace vanishes to within the
// rounding of long double: its invariants carry no cancellation from the
// mean, whatever the ratio of mean to deviator, and eigenvalues of the
// deviator plus `mean` are eigenvalues of S.

#include "stress/stress_state.h"

namespace stress::detail {

/// S = mean*I + D, with D = [[dx, txy, tzx], [txy, dy, tyz], [tzx, tyz, dz]].
struct DeviatoricStress {
  long double mean = 0.0L;
  long double dx = 0.0L;
  long double dy = 0.0L;
  long double dz = 0.0L;
  long double txy = 0.0L;
  long double tyz = 0.0L;
  long double tzx = 0.0L;
};

inline DeviatoricStress Deviator(const StressState& s) {
  const long double sx = s.sx;
  const long double sy = s.sy;
  const long double sz = s.sz;
  const long double mean = (sx + sy + sz) / 3.0L;
  return {mean, sx - mean, sy - mean, sz - mean, s.txy, s.tyz, s.tzx};
}

}  // namespace stress::detail
