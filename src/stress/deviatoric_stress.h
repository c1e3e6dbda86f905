#pragma once
// The stress tensor split into its mean and its deviator, in extended precision.
// Internal to the stress library. Conventions: see stress/stress_state.h.
//
// The mean is carried to beyond extended precision, as `mean` plus the
// small `meanRemainder`, and the deviator is taken about both, so its trace
// vanishes to within the rounding of the deviator's own entries: its
// invariants and eigenvalues carry neither cancellation nor rounding from the
// mean, whatever the ratio of mean to deviator, and eigenvalues of the
// deviator plus the mean are eigenvalues of S.

#include "numeric/extended.h"
#include "stress/stress_state.h"

namespace stress::detail {

/// S = (mean + meanRemainder)*I + D, with
/// D = [[dx, txy, tzx], [txy, dy, tyz], [tzx, tyz, dz]].
struct DeviatoricStress {
  numeric::Extended mean = 0.0;           ///< (sx + sy + sz)/3 rounded to Extended
  numeric::Extended meanRemainder = 0.0;  ///< the rest of the mean, below half a unit of `mean`
  numeric::Extended dx = 0.0;
  numeric::Extended dy = 0.0;
  numeric::Extended dz = 0.0;
  numeric::Extended txy = 0.0;
  numeric::Extended tyz = 0.0;
  numeric::Extended tzx = 0.0;
};

inline DeviatoricStress Deviator(const StressState& s) {
  const numeric::Extended sx = s.sx;
  const numeric::Extended sy = s.sy;
  const numeric::Extended sz = s.sz;
  const numeric::Extended mean = (sx + sy + sz) / 3.0;
  // Where the diagonal entries lie within a factor of two of the mean, as in
  // a nearly isotropic state, the differences and their sum are exact, and
  // the remainder is the mean's rounding to within a unit of its own last
  // place; elsewhere it is a rounding-sized correction.
  const numeric::Extended ex = sx - mean;
  const numeric::Extended ey = sy - mean;
  const numeric::Extended ez = sz - mean;
  const numeric::Extended remainder = (ex + ey + ez) / 3.0;
  return {mean, remainder, ex - remainder, ey - remainder, ez - remainder, s.txy, s.tyz, s.tzx};
}

}  // namespace stress::detail
