#include "stress/principal_roots.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "stress/axis_candidate.h"
#include "stress/plane_pair.h"

namespace stress::detail {

using numeric::Extended;

namespace {

using numeric::Store;

/// The double nearest to 2*pi/3, the offset between the three roots.
constexpr double kThirdTurn = 2.0943951023931957;

/// Below this sum of magnitudes the tensor counts as zero.
constexpr double kZeroTensor = 1e-9;

/// The root of deviatoric part `y`: its value adds the small terms first.
Root MakeRoot(const DeviatoricStress& d, Extended y) {
  return {y, d.mean + (d.meanRemainder + y)};
}

/// True when `lower` belongs before `upper`: a larger deviatoric part, or an
/// equal one with a larger value.
bool OutOfOrder(const Root& upper, const Root& lower) {
  return !(upper.deviatoric >= lower.deviatoric) ||
         (upper.deviatoric == lower.deviatoric && upper.value < lower.value);
}

/// Orders three roots s1 >= s2 >= s3 by their deviatoric parts, then their
/// values, with three compare-and-swaps; equal ones are not exchanged. A value
/// is either the same increasing function of its deviatoric part for every
/// root, rounded, or a normal stress whose deviatoric part is its difference
/// from the mean, rounded; either way the values come out sorted as well.
void SortDescending(std::array<Root, 3>& r) {
  if (OutOfOrder(r[0], r[1]))
    std::swap(r[0], r[1]);
  if (OutOfOrder(r[0], r[2]))
    std::swap(r[0], r[2]);
  if (OutOfOrder(r[1], r[2]))
    std::swap(r[1], r[2]);
}

/// Replaces the two roots of a close pair by those of the 2x2 problem in the
/// plane at right angles to the isolated root's axis. Roots that are not
/// close, or whose isolated axis cannot be found, are left as they are.
void RefineClosePair(const DeviatoricStress& d, std::array<Root, 3>& r) {
  const Extended spread = r[0].deviatoric - r[2].deviatoric;
  if (!(spread > 0.0))
    return;
  const Extended upperGap = r[0].deviatoric - r[1].deviatoric;
  const Extended lowerGap = r[1].deviatoric - r[2].deviatoric;
  if (!(std::min(upperGap, lowerGap) < kClosePair * spread))
    return;

  const bool topIsolated = upperGap >= lowerGap;
  const auto axis = CandidateAxis(d, r[topIsolated ? 0 : 2].deviatoric);
  if (!axis)
    return;
  const PlanePair pair = SolvePlanePair(d, *axis);
  const Root upper = MakeRoot(d, pair.centre + pair.radius);
  const Root lower = MakeRoot(d, pair.centre - pair.radius);
  if (topIsolated) {
    r[1] = upper;
    r[2] = lower;
  } else {
    r[0] = upper;
    r[1] = lower;
  }
  SortDescending(r);
}

}  // namespace

PrincipalRoots ComputePrincipalRoots(const StressState& s) {
  // Sum of magnitudes, each partial sum stored.
  double sum = 0.0;
  for (const double component : {s.sx, s.sy, s.sz, s.txy, s.tyz, s.tzx}) {
    sum = Store(static_cast<Extended>(sum) + std::fabs(component));
  }
  PrincipalRoots out;
  out.deviator = Deviator(s);
  if (sum < kZeroTensor)
    return out;  // three positive zeros

  // With y = s - mean the cubic is y^3 - 3Q*y - 2R = 0, where Q = J2/3 and
  // R = J3/2 are the invariants of the deviator: Q is a sum of squares and R
  // carries no cancellation against the mean.
  const DeviatoricStress& d = out.deviator;
  const double q = Store((d.dx * d.dx + d.dy * d.dy + d.dz * d.dz) / 6.0 +
                         (d.txy * d.txy + d.tyz * d.tyz + d.tzx * d.tzx) / 3.0);
  const double r = Store((d.dx * d.dy * d.dz + 2.0 * d.txy * d.tyz * d.tzx - d.dx * d.tyz * d.tyz -
                          d.dy * d.tzx * d.tzx - d.dz * d.txy * d.txy) /
                         2.0);
  const Extended ql = q;
  const Extended rl = r;
  const double q3 = Store(ql * ql * ql);

  // The roots are mean + A*cos(phi + k*2pi/3) with A = 2*sqrt(Q) carrying the
  // sign of R and theta = 3*phi = atan(sqrt(Q^3 - R^2) / R). R == 0 takes the
  // limit of that arctangent, theta = pi/2 with A = +2*sqrt(Q); for Q == 0 too
  // (an isotropic tensor) all three roots are exactly the mean.
  double a = 0.0;
  double theta = 0.0;
  if (r == 0.0) {
    a = Store(std::sqrt(ql) * 2.0);
    theta = Store(numeric::kHalfPi);
  } else {
    a = Store(numeric::Quotient(std::sqrt(ql) * 2.0 * rl, std::fabs(rl)));
    // The magnitude absorbs rounding where Q^3 and R^2 nearly agree.
    theta = Store(std::atan(numeric::Quotient(std::sqrt(std::fabs(q3 - rl * rl)), rl)));
  }
  const double phi = Store(static_cast<Extended>(theta) / 3.0);

  const Extended al = a;
  const Extended phil = phi;
  const Extended y[3] = {numeric::Cos(phil) * al, numeric::Cos(phil + kThirdTurn) * al,
                         numeric::Cos(phil + kThirdTurn + kThirdTurn) * al};
  if (s.txy == 0.0 && s.tyz == 0.0 && s.tzx == 0.0) {
    // Without shear the normal stresses are the values, exactly. (The closed
    // form above still runs: its stored quantities overflow as they do for
    // any other state.)
    out.roots = {Root{d.dx, s.sx}, Root{d.dy, s.sy}, Root{d.dz, s.sz}};
    SortDescending(out.roots);
    return out;
  }
  for (int k = 0; k < 3; ++k)
    out.roots[static_cast<std::size_t>(k)] = MakeRoot(d, y[k]);
  SortDescending(out.roots);

  RefineClosePair(d, out.roots);
  return out;
}

}  // namespace stress::detail
