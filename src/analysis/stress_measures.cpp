#include "analysis/stress_measures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/extended_math.h"

namespace analysis {

using numeric::Extended;

namespace {

// Rounds an extended-precision result to the double it is kept as. Unlike
// numeric::Store it never throws: the quantities here are shown, not stored
// into the pass, and every one of them has a text.
double Keep(Extended value) {
  return static_cast<double>(value);
}

}  // namespace

double AgreementBound(double scale) {
  constexpr double kRelative =
      16.0 * 0x1p-52 + 1024.0 * static_cast<double>(numeric::kExtendedEpsilon);
  return kRelative * std::fabs(scale);
}

bool Agree(double a, double b, double scale) {
  return std::fabs(static_cast<Extended>(a) - b) <= AgreementBound(scale);
}

double ScaleOf(const stress::PrincipalValues& values) {
  return std::max({std::fabs(values.s1), std::fabs(values.s2), std::fabs(values.s3)});
}

StressMeasures ComputeStressMeasures(const stress::PrincipalValues& values) {
  const Extended s1 = values.s1;
  const Extended s2 = values.s2;
  const Extended s3 = values.s3;
  const Extended d12 = s1 - s2;
  const Extended d23 = s2 - s3;
  const Extended d31 = s3 - s1;
  const Extended squares = d12 * d12 + d23 * d23 + d31 * d31;

  StressMeasures m;
  m.meanStress = Keep((s1 + s2 + s3) / 3.0);
  m.maxShear = Keep((s1 - s3) / 2.0);
  m.vonMises = Keep(std::sqrt(squares / 2.0));
  m.octahedralShear = Keep(std::sqrt(squares) / 3.0);
  // For sorted values 0 <= s2 - s3 <= s1 - s3 holds after rounding too, so the
  // quotient stays within [0, 1].
  if (!Agree(values.s1, values.s3, ScaleOf(values)))
    m.stressRatio = Keep(d23 / (s1 - s3));
  return m;
}

HorizontalStresses ComputeHorizontalStresses(const stress::StressState& s,
                                             stress::Azimuth convention) {
  const Extended sx = s.sx;
  const Extended sy = s.sy;
  const Extended txy = s.txy;
  const Extended mean = (sx + sy) / 2.0;
  const Extended half = (sx - sy) / 2.0;
  const Extended radius = std::sqrt(half * half + txy * txy);

  HorizontalStresses h;
  h.sv = s.sz;
  h.shMax = Keep(mean + radius);
  h.shMin = Keep(mean - radius);
  if (!Agree(h.shMax, h.shMin, std::max(std::fabs(h.shMax), std::fabs(h.shMin)))) {
    // The SHmax axis makes the angle theta = atan2(2 txy, sx - sy) / 2 with
    // East, counter-clockwise, in (-90, 90] degrees; North-clockwise that is
    // 90 - theta. A shear of -0 turns +180 into -180 degrees, and rounding can
    // reach 180 itself: both are the same axis as 0.
    const Extended theta = numeric::RadiansToDegrees(std::atan2(2.0 * txy, sx - sy)) / 2.0;
    double azimuth =
        Keep(convention == stress::Azimuth::kClockwiseFromNorth ? 90.0 - theta : theta);
    if (azimuth < 0.0)
      azimuth += 180.0;
    if (azimuth >= 180.0)
      azimuth -= 180.0;
    h.shMaxAzimuth = azimuth;
  }
  return h;
}

FaultingRegime ClassifyRegime(double plunge1, double plunge2, double plunge3) {
  if (plunge1 >= 52.0 && plunge3 <= 35.0)
    return FaultingRegime::kNormal;
  if (plunge1 >= 40.0 && plunge1 < 52.0 && plunge3 <= 20.0)
    return FaultingRegime::kNormalStrikeSlip;
  if ((plunge1 < 40.0 && plunge2 >= 45.0 && plunge3 <= 20.0) ||
      (plunge1 <= 20.0 && plunge2 >= 45.0 && plunge3 < 40.0))
    return FaultingRegime::kStrikeSlip;
  if (plunge1 <= 20.0 && plunge3 >= 40.0 && plunge3 < 52.0)
    return FaultingRegime::kThrustStrikeSlip;
  if (plunge1 <= 35.0 && plunge3 >= 52.0)
    return FaultingRegime::kThrust;
  return FaultingRegime::kUnknown;
}

std::optional<FaultingRegime> RegimeOf(const stress::PrincipalValues& values, double plunge1,
                                       double plunge2, double plunge3) {
  const double scale = ScaleOf(values);
  if (Agree(values.s1, values.s2, scale) || Agree(values.s2, values.s3, scale))
    return std::nullopt;
  return ClassifyRegime(plunge1, plunge2, plunge3);
}

JointAssessment AssessJoint(const stress::PrincipalValues& values,
                            const stress::JointStresses& joint) {
  JointAssessment a;
  if (joint.sigma > 0.0)
    a.slipTendency = Keep(static_cast<Extended>(joint.tau) / joint.sigma);
  if (!Agree(values.s1, values.s3, ScaleOf(values))) {
    const Extended s1 = values.s1;
    const Extended td = (s1 - joint.sigma) / (s1 - values.s3);
    a.dilationTendency = Keep(std::clamp(td, Extended{0}, Extended{1}));
  }
  a.factorOfSafety = joint.tau == 0.0 ? std::numeric_limits<double>::infinity()
                                      : Keep(static_cast<Extended>(joint.tauLim) / joint.tau);
  if (joint.sigma < 0.0) {
    a.state = JointState::kOpens;
  } else if (joint.tau >= joint.tauLim) {
    a.state = JointState::kSlips;
  } else {
    a.state = JointState::kStable;
  }
  return a;
}

}  // namespace analysis
