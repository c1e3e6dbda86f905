#include "stress/principal_axes.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <stdexcept>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "stress/axis_candidate.h"
#include "stress/deviatoric_stress.h"
#include "stress/long_vector.h"
#include "stress/plane_pair.h"

namespace stress {

namespace {

using detail::LongVector;
using numeric::Store;

/// A candidate that agrees with an axis to within 60 degrees decides its sign;
/// a less aligned one is rounding residue and says nothing.
constexpr long double kSignAgreement = 0.5L;

/// `axis`, or its negative when the candidate of `value` points the other way.
LongVector OrientedByCandidate(const StressState& s, double value, const LongVector& axis) {
  const auto candidate = detail::CandidateAxis(s, value);
  if (!candidate)
    return axis;
  const long double agreement = detail::Dot(detail::Extend(*candidate), axis);
  return agreement <= -kSignAgreement ? detail::Scaled(axis, -1.0L) : axis;
}

/// The candidate of `value` without its component along the unit axis `a`,
/// normalised; nothing when there is no candidate or it lies within 30 degrees
/// of `a` (its projection is shorter than 1/2).
std::optional<LongVector> ProjectedCandidate(const StressState& s, double value,
                                             const LongVector& a) {
  const auto candidate = detail::CandidateAxis(s, value);
  if (!candidate)
    return std::nullopt;
  const LongVector c = detail::Extend(*candidate);
  const LongVector p = detail::Sum(c, detail::Scaled(a, -detail::Dot(a, c)));
  if (!(detail::Norm(p) > 0.5L))
    return std::nullopt;
  return detail::Normalised(p);
}

PrincipalAxes GlobalAxes() {
  return {Vector3{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
}

}  // namespace

PrincipalAxes ComputePrincipalAxes(const StressState& s, const PrincipalValues& values) {
  const long double spread = static_cast<long double>(values.s1) - values.s3;
  if (!(spread > 0.0L))
    return GlobalAxes();

  // The isolated value is the end value farther from the middle one; both of
  // its gaps are at least half the spread, so its candidate is well
  // conditioned. The other end value is the second best conditioned.
  const long double upperGap = static_cast<long double>(values.s1) - values.s2;
  const long double lowerGap = static_cast<long double>(values.s2) - values.s3;
  const int isolated = upperGap >= lowerGap ? 0 : 2;
  const int otherEnd = 2 - isolated;
  const auto isolatedCandidate = detail::CandidateAxis(s, values[isolated]);
  // No candidate for the isolated value: the deviator is lost in the rounding
  // of S - s*I (or underflows), and every direction is principal.
  if (!isolatedCandidate)
    return GlobalAxes();
  const LongVector a = detail::Extend(*isolatedCandidate);

  LongVector u[3];
  u[isolated] = a;
  if (std::fmin(upperGap, lowerGap) >= detail::kClosePair * spread) {
    // Three separated values: each axis from its own candidate, made exactly
    // orthogonal. The other end value's candidate loses its rounding
    // component along the isolated axis; the middle axis completes the set
    // with its candidate's sign.
    if (const auto other = ProjectedCandidate(s, values[otherEnd], a)) {
      u[otherEnd] = *other;
      u[1] = OrientedByCandidate(s, values[1], detail::Cross(u[2], u[0]));
      return {detail::StoreVector(u[0]), detail::StoreVector(u[1]), detail::StoreVector(u[2])};
    }
    // No usable candidate for the other end: the values do not belong to
    // the state; the plane's 2x2 problem still gives a principal set.
  }

  // A close pair: its axes are those of the 2x2 problem in the plane at right
  // angles to the isolated axis. A repeated pair takes the solver's fixed rule
  // (the larger value along the least aligned global axis, the smaller one
  // completing a right-handed set); otherwise each axis keeps the sign of a
  // candidate that is more than rounding residue.
  const detail::PlanePair pair = detail::SolvePlanePair(detail::Deviator(s), *isolatedCandidate);
  const int upper = isolated == 0 ? 1 : 0;
  const int lower = upper + 1;
  if (pair.repeated) {
    u[upper] = pair.upperAxis;
    u[lower] = pair.lowerAxis;
  } else {
    u[upper] = OrientedByCandidate(s, values[upper], pair.upperAxis);
    u[lower] = OrientedByCandidate(s, values[lower], pair.lowerAxis);
  }
  return {detail::StoreVector(u[0]), detail::StoreVector(u[1]), detail::StoreVector(u[2])};
}

Vector3 PrincipalAxis(const StressState& s, const PrincipalValues& values, int index) {
  if (index < 0 || index > 2)
    throw std::out_of_range("principal index must be 0, 1 or 2");
  return ComputePrincipalAxes(s, values)[static_cast<std::size_t>(index)];
}

AxisAngles AxisOrientation(const Vector3& axis, int angleMode) {
  AxisAngles angles;
  angles.lower = axis.z > 0.0 ? Vector3{-axis.x, -axis.y, -axis.z} : axis;
  const long double x = angles.lower.x;
  const long double y = angles.lower.y;
  const long double z = angles.lower.z;

  // The arctangent of the vertical over the horizontal part is accurate at
  // every steepness, up to exactly vertical.
  angles.dip = Store(std::atan2(std::fabs(z), std::sqrt(x * x + y * y)));

  // A nearly vertical axis has no reliable horizontal direction: it takes
  // north or south by the sign of y.
  constexpr long double kVerticalX = 1e-6L;
  long double east = 0.0L;
  if (std::fabs(x) <= kVerticalX) {
    east = y > 0.0L ? 1.5707963267948966 : 4.71238898038469;
  } else {
    east = std::atan(numeric::Quotient(y, x));
    if (x < 0.0L)
      east += numeric::kPi;
  }
  angles.eastAngle = Store(east);

  long double azimuth = angleMode != 0 ? numeric::kHalfPi - angles.eastAngle : angles.eastAngle;
  if (azimuth < 0.0L)
    azimuth += numeric::kTwoPi;
  if (azimuth > numeric::kTwoPi)
    azimuth -= numeric::kTwoPi;
  angles.azimuth = Store(azimuth);
  return angles;
}

double SignOf(double x) {
  return x >= 0.0 ? 1.0 : -1.0;
}

PlaneAngles PrincipalPlane(const AxisAngles& angles) {
  return {Store((numeric::kHalfPi - angles.eastAngle) - numeric::kPi),
          Store(numeric::kHalfPi - angles.dip)};
}

double HandednessFactor(const PrincipalAxes& axes) {
  const long double m2 = axes[1].y;
  const long double n2 = axes[1].z;
  const long double m3 = axes[2].y;
  const long double n3 = axes[2].z;
  return SignOf(Store(m2 * n3 - n2 * m3)) * SignOf(axes[0].x);
}

}  // namespace stress
