#include "analysis/effective_stress.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/extended_math.h"

namespace analysis {

using numeric::Extended;

namespace {

/// The double of `value`, or empty beyond the double range or for NaN.
std::optional<double> Kept(Extended value) {
  if (!(std::fabs(value) <= std::numeric_limits<double>::max()))
    return std::nullopt;
  return static_cast<double>(value);
}

}  // namespace

std::optional<stress::PrincipalValues> EffectiveValues(const stress::PrincipalValues& values,
                                                       double porePressure) {
  const Extended pp = porePressure;
  const auto s1 = Kept(values.s1 - pp);
  const auto s2 = Kept(values.s2 - pp);
  const auto s3 = Kept(values.s3 - pp);
  if (!s1 || !s2 || !s3)
    return std::nullopt;
  return stress::PrincipalValues{*s1, *s2, *s3};
}

EffectiveJoint AssessEffective(const stress::PrincipalValues& values,
                               const stress::JointStresses& stresses,
                               const stress::JointPlane& joint, double porePressure) {
  EffectiveJoint e;
  e.porePressure = porePressure;
  // A shear stress within the values' rounding is the residue of a plane on
  // which the true shear is 0 (cos 90 degrees is 6e-17, not 0): it counts as 0.
  const double scale = ScaleOf(values);
  const Extended tau = stresses.tau <= AgreementBound(scale) ? 0.0 : stresses.tau;
  if (!Agree(values.s1, values.s3, scale)) {
    const Extended s1 = values.s1;
    const Extended td = (s1 - stresses.sigma) / (s1 - values.s3);
    e.dilationTendency = Kept(std::clamp(td, Extended{0}, Extended{1}));
  }
  e.sigma = Kept(static_cast<Extended>(stresses.sigma) - porePressure);
  if (!e.sigma)
    return e;
  const Extended sigma = *e.sigma;
  if (sigma > 0)
    e.slipTendency = Kept(tau / sigma);
  if (const auto effective = EffectiveValues(values, porePressure);
      effective && effective->s3 > 0) {
    const Extended s1 = effective->s1;
    const Extended s3 = effective->s3;
    e.slipTendencyMax = Kept((s1 - s3) / (2.0L * std::sqrt(s1 * s3)));
    if (e.slipTendency && *e.slipTendencyMax > 0)
      e.normalizedSlipTendency = Kept(static_cast<Extended>(*e.slipTendency) / *e.slipTendencyMax);
  }
  // At +-90 degrees and beyond the tangent of the rounded angle is a huge
  // number of either sign, not a friction: the limit has no value.
  if (!(std::fabs(joint.phi) < 90.0))
    return e;
  const Extended tanPhi = std::tan(numeric::DegreesToRadians(joint.phi));
  // The same rounding as the total limit, so that Pp = 0 gives it to the bit.
  const std::optional<double> limit = Kept(joint.c + sigma * tanPhi);
  if (limit)
    e.tauLim = sigma < 0 ? 0.0 : *limit;

  if (e.tauLim) {
    const Extended tauLim = *e.tauLim;
    if (tau > 0)
      e.factorOfSafety = Kept(tauLim / tau);
    else if (tauLim > 0)
      e.factorOfSafety = std::numeric_limits<double>::infinity();
    e.coulombFailure = Kept(tau - tauLim);
    if (sigma < 0)
      e.state = JointState::kOpens;
    else
      e.state = tau >= tauLim ? JointState::kSlips : JointState::kStable;
  }
  if (tanPhi != 0)
    e.porePressureToSlip = Kept(sigma - (tau - joint.c) / tanPhi);
  return e;
}

}  // namespace analysis
