#pragma once
// The stress tensor split into its mean and its deviator, in extended precision.
// Internal to the stress library. Conventions: see stress/stress_state.h.
//
// The mean is carried to beyond long double precision, as `mean` plus the
// small `meanRemainder`, and the deviator is taken about both, so its trace
// vanishes to within the rounding of the deviator's own entries: its
// invariants and eigenvalues carry neither cancellation nor rounding from the
// mean, whatever the ratio of mean to deviator, and eigenvalues of the
// deviator plus the mean are eigenvalues of S.

#include "stress/stress_state.h"

namespace stress::detail {

/// S = (mean + meanRemainder)*I + D, with
/// D = [[dx, txy, tzx], [txy, dy, tyz], [tzx, tyz, dz]].
struct DeviatoricStress {
  long double mean = 0.0L;           ///< (sx + sy + sz)/3 rounded to long double
  long double meanRemainder = 0.0L;  ///< the rest of the mean, below half a unit of `mean`
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
  // Where the diagonal entries lie within a factor of two of the mean, as in
  // a nearly isotropic state, the differences and their sum are exact, and
  // the remainder is the mean's rounding to within a unit of its own last
  // place; elsewhere it is a rounding-sized correction.
  const long double ex = sx - mean;
  const long double ey = sy - mean;
  const long double ez = sz - mean;
  const long double remainder = (ex + ey + ez) / 3.0L;
  return {mean, remainder, ex - remainder, ey - remainder, ez - remainder, s.txy, s.tyz, s.tzx};
}

}  // namespace stress::detail
