#include "stress/principal_values.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "stress/axis_candidate.h"
#include "stress/deviatoric_stress.h"
#include "stress/plane_pair.h"

namespace stress {

namespace {

using numeric::Store;

/// The double nearest to 2*pi/3, the offset between the three roots.
constexpr double kThirdTurn = 2.0943951023931957;

/// Below this sum of magnitudes the tensor counts as zero.
constexpr double kZeroTensor = 1e-9;

/// Orders three values s1 >= s2 >= s3 with three compare-and-swaps; equal
/// values are not exchanged.
void SortDescending(double& p1, double& p2, double& p3) {
  if (!(p1 >= p2))
    std::swap(p1, p2);
  if (!(p1 >= p3))
    std::swap(p1, p3);
  if (!(p2 >= p3))
    std::swap(p2, p3);
}

/// Replaces the two values of a close pair by those of the 2x2 problem in the
/// plane at right angles to the isolated value's axis. Values that are not
/// close, or whose isolated axis cannot be found, are left as they are.
void RefineClosePair(const StressState& s, const detail::DeviatoricStress& d, double& s1,
                     double& s2, double& s3) {
  const long double spread = static_cast<long double>(s1) - s3;
  if (!(spread > 0.0L))
    return;
  const long double upperGap = static_cast<long double>(s1) - s2;
  const long double lowerGap = static_cast<long double>(s2) - s3;
  if (!(std::min(upperGap, lowerGap) < detail::kClosePair * spread))
    return;

  const bool topIsolated = upperGap >= lowerGap;
  const auto axis = detail::CandidateAxis(s, topIsolated ? s1 : s3);
  if (!axis)
    return;
  const detail::PlanePair pair = detail::SolvePlanePair(d, *axis);
  if (topIsolated) {
    s2 = Store(pair.upper);
    s3 = Store(pair.lower);
  } else {
    s1 = Store(pair.upper);
    s2 = Store(pair.lower);
  }
  SortDescending(s1, s2, s3);
}

}  // namespace

PrincipalValues ComputePrincipalValues(const StressState& s) {
  // Sum of magnitudes, each partial sum stored.
  double sum = 0.0;
  for (const double component : {s.sx, s.sy, s.sz, s.txy, s.tyz, s.tzx}) {
    sum = Store(static_cast<long double>(sum) + std::fabs(component));
  }
  if (sum < kZeroTensor)
    return {0.0, 0.0, 0.0};

  // With y = s - mean the cubic is y^3 - 3Q*y - 2R = 0, where Q = J2/3 and
  // R = J3/2 are the invariants of the deviator: Q is a sum of squares and R
  // carries no cancellation against the mean.
  const detail::DeviatoricStress d = detail::Deviator(s);
  const double q = Store((d.dx * d.dx + d.dy * d.dy + d.dz * d.dz) / 6.0L +
                         (d.txy * d.txy + d.tyz * d.tyz + d.tzx * d.tzx) / 3.0L);
  const double r = Store((d.dx * d.dy * d.dz + 2.0L * d.txy * d.tyz * d.tzx - d.dx * d.tyz * d.tyz -
                          d.dy * d.tzx * d.tzx - d.dz * d.txy * d.txy) /
                         2.0L);
  const long double ql = q;
  const long double rl = r;
  const double q3 = Store(ql * ql * ql);

  // The roots are mean + A*cos(phi + k*2pi/3) with A = 2*sqrt(Q) carrying the
  // sign of R and theta = 3*phi = atan(sqrt(Q^3 - R^2) / R). R == 0 takes the
  // limit of that arctangent, theta = pi/2 with A = +2*sqrt(Q); for Q == 0 too
  // (an isotropic tensor) all three roots are exactly the mean.
  double a = 0.0;
  double theta = 0.0;
  if (r == 0.0) {
    a = Store(std::sqrt(ql) * 2.0L);
    theta = Store(numeric::kHalfPi);
  } else {
    a = Store(numeric::Quotient(std::sqrt(ql) * 2.0L * rl, std::fabs(rl)));
    // The magnitude absorbs rounding where Q^3 and R^2 nearly agree.
    theta = Store(std::atan(numeric::Quotient(std::sqrt(std::fabs(q3 - rl * rl)), rl)));
  }
  const double phi = Store(static_cast<long double>(theta) / 3.0L);

  const long double al = a;
  const long double phil = phi;
  double p1 = Store(numeric::Cos(phil) * al + d.mean);
  double p2 = Store(numeric::Cos(phil + kThirdTurn) * al + d.mean);
  double p3 = Store(numeric::Cos(phil + kThirdTurn + kThirdTurn) * al + d.mean);
  SortDescending(p1, p2, p3);

  RefineClosePair(s, d, p1, p2, p3);
  return {p1, p2, p3};
}

}  // namespace stress
