#pragma once
// The two principal values and axes in the plane at right angles to a known
// principal axis: a symmetric 2x2 eigenproblem with a stable closed form.
// Internal to the stress library. Conventions: see stress/stress_state.h.

#include "numeric/extended.h"
#include "stress/deviatoric_stress.h"
#include "stress/long_vector.h"
#include "stress/stress_state.h"

namespace stress::detail {

/// The pair of the plane at right angles to `isolatedAxis`: its deviatoric
/// values are centre + radius (the upper) and centre - radius (the lower), its
/// values those plus the deviator's mean.
struct PlanePair {
  numeric::Extended centre = 0.0;  ///< (b11 + b22)/2, the pair's mean without the tensor's mean
  numeric::Extended radius = 0.0;  ///< half the pair's difference, never negative
  LongVector upperAxis{};          ///< unit axis of the upper value
  LongVector lowerAxis{};          ///< isolatedAxis x upperAxis, unit axis of the lower value
  bool repeated = false;           ///< the values are equal to within rounding
};

/// Two principal values are a close pair when the smaller of the two gaps
/// between neighbouring values is below this fraction of the spread s1 - s3.
/// The cubic's closed form separates such a pair through sqrt(Q^3 - R^2),
/// whose rounding grows as the pair closes: over rotated tensors its error is
/// about 5e-17 / r of the largest component for a gap of r times the spread
/// (5e-15 at r = 1e-2, 5e-13 at 1e-4, 1e-8 once r is below 1e-8), while this
/// solver stays near 4e-16 at every r. At 1e-2 the closed form is within ten
/// times its error for well-separated values, so both sides of the threshold
/// agree to far below anything shown.
inline constexpr numeric::Extended kClosePair = 1e-2L;

/// Below this size, relative to the largest deviatoric component, the
/// anisotropy of the 2x2 problem is rounding noise: the pair is repeated and
/// its axes follow the fixed rule instead of the noise. 64 units of the
/// extended type's rounding (2^-58 for the x87 type, 2^-47 for double).
inline constexpr numeric::Extended kRepeatedPair = 32 * numeric::kExtendedEpsilon;

/// Solves the 2x2 problem of `d` in the plane at right angles to the unit
/// vector `isolatedAxis`, which must be a principal axis of `d`.
///
/// The plane's basis is e1, the global axis least aligned with `isolatedAxis`
/// (the first of equally aligned ones) projected into the plane and
/// normalised, and e2 = isolatedAxis x e1. With B = [e_i . D e_j] the
/// deviatoric values are centre +- radius, centre = (b11 + b22)/2 and
/// radius = hypot((b11 - b22)/2, b12), free of cancellation however close
/// they are. The upper axis is e1 turned by half the angle
/// atan2(b12, (b11 - b22)/2), so its e1 component is never negative; when the
/// pair is repeated it is e1 itself, and when B is diagonal (b12 == 0) it is
/// exactly e1 or e2, whichever has the larger diagonal entry. Either way
/// (isolatedAxis, upperAxis, lowerAxis) is right-handed in cyclic order.
///
/// The values are accurate to the rounding of the mean and the deviator plus
/// the square of the error of `isolatedAxis` times the spread of the values.
PlanePair SolvePlanePair(const DeviatoricStress& d, const Vector3& isolatedAxis);

}  // namespace stress::detail
