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
#include "stress/principal_roots.h"

namespace stress {

using numeric::Extended;

namespace {

using detail::DeviatoricStress;
using detail::LongVector;
using numeric::Store;

/// A candidate that agrees with an axis to within 60 degrees decides its sign;
/// a less aligned one is rounding residue and says nothing.
constexpr Extended kSignAgreement = 0.5;

/// What the axes of one state are formed from.
struct Sources {
  const StressState& state;
  const PrincipalValues& stored;  ///< the values as stored and shown
  const DeviatoricStress& d;      ///< the deviator of `state`
  Extended y[3];                  ///< the unrounded deviatoric roots behind `stored`
};

/// The unrounded values behind `values`: the roots of `s` when `values` are
/// their stored form, as the values of `s` from ComputePrincipalValues always
/// are; otherwise `values` themselves, taken about the mean of `s`, so that
/// values of another state still give an orthonormal set.
detail::PrincipalRoots Unrounded(const StressState& s, const PrincipalValues& values) {
  detail::PrincipalRoots r = detail::ComputePrincipalRoots(s);
  bool stored = true;
  for (std::size_t i = 0; i < 3; ++i)
    stored = stored && Store(r.roots[i].value) == values[static_cast<int>(i)];
  if (!stored) {
    for (std::size_t i = 0; i < 3; ++i) {
      const Extended value = values[static_cast<int>(i)];
      r.roots[i] = {value - r.deviator.mean - r.deviator.meanRemainder, value};
    }
  }
  return r;
}

/// +1 or -1 when `candidate` agrees with or opposes `axis` to within 60
/// degrees, 0 when it is missing or rounding residue.
int Agreement(const std::optional<Vector3>& candidate, const LongVector& axis) {
  if (!candidate)
    return 0;
  const Extended agreement = detail::Dot(detail::Extend(*candidate), axis);
  return agreement >= kSignAgreement ? 1 : (agreement <= -kSignAgreement ? -1 : 0);
}

/// The axis `axis` of value `i`, or its negative. The sign is that of the
/// candidate the 1e-4 rule picks for the value as stored and shown (the rows
/// of S - s*I) wherever that candidate is more than rounding residue, however
/// short it is against the others. Only where it is zero or residue does the
/// longest candidate of the stored value decide, then the candidate of the
/// unrounded root; where none can, the axis stays as it is.
LongVector Oriented(const Sources& src, int i, const LongVector& axis) {
  int sign = Agreement(detail::RuleCandidate(src.state, src.stored[i]), axis);
  if (sign == 0)
    sign = Agreement(detail::CandidateAxis(src.state, src.stored[i]), axis);
  if (sign == 0)
    sign = Agreement(detail::CandidateAxis(src.d, src.y[i]), axis);
  return sign < 0 ? detail::Scaled(axis, -1.0) : axis;
}

/// The candidate of the unrounded root of value `i` without its component
/// along the unit axis `a`, normalised; nothing when there is no candidate or
/// it lies within 30 degrees of `a` (its projection is shorter than 1/2).
std::optional<LongVector> ProjectedCandidate(const Sources& src, int i, const LongVector& a) {
  const auto candidate = detail::CandidateAxis(src.d, src.y[i]);
  if (!candidate)
    return std::nullopt;
  const LongVector c = detail::Extend(*candidate);
  const LongVector p = detail::Sum(c, detail::Scaled(a, -detail::Dot(a, c)));
  if (!(detail::Norm(p) > 0.5))
    return std::nullopt;
  return detail::Normalised(p);
}

PrincipalAxes GlobalAxes() {
  return {Vector3{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
}

/// The axes of a state without shear whose values are its normal stresses:
/// the coordinate axes, each value taking the first axis not yet taken whose
/// normal stress it is (x before y before z among equal ones). A value of its
/// own takes the sign of its candidates; of a repeated pair the larger value
/// keeps its axis positive and the smaller one completes a right-handed set
/// with the isolated axis, as SolvePlanePair orients a repeated pair. Nothing
/// for a state with shear or values of another state.
std::optional<PrincipalAxes> CoordinateAxes(const Sources& src) {
  const StressState& s = src.state;
  if (s.txy != 0.0 || s.tyz != 0.0 || s.tzx != 0.0)
    return std::nullopt;
  const double normals[3] = {s.sx, s.sy, s.sz};
  bool taken[3] = {false, false, false};
  LongVector u[3];
  for (int i = 0; i < 3; ++i) {
    std::size_t k = 0;
    while (k < 3 && (taken[k] || normals[k] != src.stored[i]))
      ++k;
    if (k == 3)
      return std::nullopt;
    taken[k] = true;
    u[i] = {0.0, 0.0, 0.0};
    u[i][k] = 1.0;
    u[i] = Oriented(src, i, u[i]);
  }
  if (src.stored[0] == src.stored[1]) {
    u[1] = detail::Cross(u[2], u[0]);
  } else if (src.stored[1] == src.stored[2]) {
    u[2] = detail::Cross(u[0], u[1]);
  }
  return PrincipalAxes{detail::StoreVector(u[0]), detail::StoreVector(u[1]),
                       detail::StoreVector(u[2])};
}

}  // namespace

// How the axes are chosen.
//
// The axes come from the values unrounded. When `values` are the stored
// form of the roots of the closed form for `s`, as ComputePrincipalValues
// gives them, those roots are recomputed in extended precision, and each candidate
// is formed from the rows of D - y*I, the deviator less the deviatoric root
// (see CandidateAxis in axis_candidate.h). The rounding of a value to double,
// up to half a unit in the last place of the mean, then never enters: the
// axes of a nearly isotropic state are as accurate as those of its deviator
// alone, whatever the mean. Values that do not belong to `s` are taken as
// given.
//
// They always form an orthonormal set, and the same arguments always give the
// same set:
// - a state whose three shears are zero (its values are its normal
//   stresses): the coordinate axes exactly, each value taking the first axis
//   not yet taken whose normal stress it is; a repeated pair among them is
//   oriented as below;
// - three well separated values: each axis has the direction of its
//   cross-product candidate; the isolated value's axis is its candidate, the
//   other end value's candidate loses its rounding component along it, and
//   the middle axis completes the set;
// - a close pair (gap below 1e-2 of the spread): the isolated value's axis is
//   its candidate; the pair's axes are those of the 2x2 problem in the plane
//   at right angles to it;
// - an exactly repeated pair: the axis of the pair's larger value is the
//   global axis least aligned with the isolated axis (x before y before z
//   on ties), projected into the plane and normalised; the smaller value's
//   axis completes a right-handed set;
// - an isotropic state (s1 == s3 unrounded, the all-zero state included):
//   x, y, z.
// Each axis but those of a repeated pair takes the sign of the candidate that
// the 1e-4 rule picks for its value as stored (RuleCandidate, from the rows of
// S - s*I) wherever that candidate is more than rounding residue, within 60
// degrees of the axis, however short it is against the other candidates;
// else the sign of the longest candidate of the stored value, else that of
// its unrounded candidate, where one of those is; else it keeps its own.
// Throws numeric::FloatingPointError("Floating point overflow") when a
// candidate component exceeds the double range, or when the principal values
// of `s` do (then no values belong to it).
PrincipalAxes ComputePrincipalAxes(const StressState& s, const PrincipalValues& values) {
  // The directions and every decision come from the unrounded deviatoric
  // roots; the signs, where they can, from the stored values.
  const detail::PrincipalRoots unrounded = Unrounded(s, values);
  const Sources src{s,
                    values,
                    unrounded.deviator,
                    {unrounded.roots[0].deviatoric, unrounded.roots[1].deviatoric,
                     unrounded.roots[2].deviatoric}};
  const Extended spread = src.y[0] - src.y[2];
  if (!(spread > 0.0))
    return GlobalAxes();
  if (const auto coordinate = CoordinateAxes(src))
    return *coordinate;

  // The isolated value is the end value farther from the middle one; both of
  // its gaps are at least half the spread, so its candidate is well
  // conditioned. The other end value is the second best conditioned.
  const Extended upperGap = src.y[0] - src.y[1];
  const Extended lowerGap = src.y[1] - src.y[2];
  const int isolated = upperGap >= lowerGap ? 0 : 2;
  const int otherEnd = 2 - isolated;
  const auto isolatedCandidate = detail::CandidateAxis(src.d, src.y[isolated]);
  // No candidate for the isolated value: the deviator is lost in the rounding
  // of D - y*I (or underflows), and every direction is principal.
  if (!isolatedCandidate)
    return GlobalAxes();
  const LongVector a = Oriented(src, isolated, detail::Extend(*isolatedCandidate));

  LongVector u[3];
  u[isolated] = a;
  if (std::fmin(upperGap, lowerGap) >= detail::kClosePair * spread) {
    // Three separated values: each axis from its own candidate, made exactly
    // orthogonal. The other end value's candidate loses its rounding
    // component along the isolated axis; the middle axis completes the set.
    if (const auto other = ProjectedCandidate(src, otherEnd, a)) {
      u[otherEnd] = Oriented(src, otherEnd, *other);
      u[1] = Oriented(src, 1, detail::Cross(u[2], u[0]));
      return {detail::StoreVector(u[0]), detail::StoreVector(u[1]), detail::StoreVector(u[2])};
    }
    // No usable candidate for the other end: the values do not belong to
    // the state; the plane's 2x2 problem still gives a principal set.
  }

  // A close pair: its axes are those of the 2x2 problem in the plane at right
  // angles to the isolated axis. A repeated pair takes the solver's fixed rule
  // (the larger value along the least aligned global axis, the smaller one
  // completing a right-handed set with the isolated axis as signed here);
  // otherwise each axis is oriented like the others.
  const detail::PlanePair pair = detail::SolvePlanePair(src.d, detail::StoreVector(a));
  const int upper = isolated == 0 ? 1 : 0;
  const int lower = upper + 1;
  if (pair.repeated) {
    u[upper] = pair.upperAxis;
    u[lower] = pair.lowerAxis;
  } else {
    u[upper] = Oriented(src, upper, pair.upperAxis);
    u[lower] = Oriented(src, lower, pair.lowerAxis);
  }
  return {detail::StoreVector(u[0]), detail::StoreVector(u[1]), detail::StoreVector(u[2])};
}

Vector3 PrincipalAxis(const StressState& s, const PrincipalValues& values, int index) {
  if (index < 0 || index > 2)
    throw std::out_of_range("principal index must be 0, 1 or 2");
  return ComputePrincipalAxes(s, values)[static_cast<std::size_t>(index)];
}

AxisAngles AxisOrientation(const Vector3& axis, Azimuth convention) {
  AxisAngles angles;
  angles.lower = axis.z > 0.0 ? Vector3{-axis.x, -axis.y, -axis.z} : axis;
  const Extended x = angles.lower.x;
  const Extended y = angles.lower.y;
  const Extended z = angles.lower.z;

  // The arctangent of the vertical over the horizontal part is accurate at
  // every steepness, up to exactly vertical.
  angles.dip = Store(std::atan2(std::fabs(z), std::sqrt(x * x + y * y)));

  // A nearly vertical axis has no reliable horizontal direction: it takes
  // north or south by the sign of y.
  constexpr Extended kVerticalX = 1e-6L;
  Extended east = 0.0;
  if (std::fabs(x) <= kVerticalX) {
    east = y > 0.0 ? 1.5707963267948966 : 4.71238898038469;
  } else {
    east = std::atan(numeric::Quotient(y, x));
    if (x < 0.0)
      east += numeric::kPi;
  }
  angles.eastAngle = Store(east);

  Extended azimuth = convention == Azimuth::kClockwiseFromNorth
                         ? numeric::kHalfPi - angles.eastAngle
                         : angles.eastAngle;
  if (azimuth < 0.0)
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
  const Extended m2 = axes[1].y;
  const Extended n2 = axes[1].z;
  const Extended m3 = axes[2].y;
  const Extended n3 = axes[2].z;
  return SignOf(Store(m2 * n3 - n2 * m3)) * SignOf(axes[0].x);
}

}  // namespace stress
