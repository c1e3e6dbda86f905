#include "analysis/stress_measures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numeric/extended_math.h"

namespace analysis {
namespace {

// Rounds a long double result to the double it is kept as. Unlike
// numeric::Store it never throws: the quantities here are shown, not stored
// into the pass, and every one of them has a text.
double Keep(long double value) {
  return static_cast<double>(value);
}

}  // namespace

StressMeasures ComputeStressMeasures(const stress::PrincipalValues& values) {
  const long double s1 = values.s1;
  const long double s2 = values.s2;
  const long double s3 = values.s3;
  const long double d12 = s1 - s2;
  const long double d23 = s2 - s3;
  const long double d31 = s3 - s1;
  const long double squares = d12 * d12 + d23 * d23 + d31 * d31;

  StressMeasures m;
  m.meanStress = Keep((s1 + s2 + s3) / 3.0L);
  m.maxShear = Keep((s1 - s3) / 2.0L);
  m.vonMises = Keep(std::sqrt(squares / 2.0L));
  m.octahedralShear = Keep(std::sqrt(squares) / 3.0L);
  // For sorted values 0 <= s2 - s3 <= s1 - s3 holds after rounding too, so the
  // quotient stays within [0, 1].
  if (values.s1 != values.s3)
    m.stressRatio = Keep(d23 / (s1 - s3));
  return m;
}

HorizontalStresses ComputeHorizontalStresses(const stress::StressState& s) {
  const long double sx = s.sx;
  const long double sy = s.sy;
  const long double txy = s.txy;
  const long double mean = (sx + sy) / 2.0L;
  const long double half = (sx - sy) / 2.0L;
  const long double radius = std::sqrt(half * half + txy * txy);

  HorizontalStresses h;
  h.sv = s.sz;
  h.shMax = Keep(mean + radius);
  h.shMin = Keep(mean - radius);
  if (h.shMax != h.shMin) {
    // The SHmax axis makes the angle theta = atan2(2 txy, sx - sy) / 2 with
    // East, counter-clockwise, in (-90, 90] degrees; North-clockwise that is
    // 90 - theta. A shear of -0 turns +180 into -180 degrees, and rounding can
    // reach 180 itself: both are the same axis as 0.
    const long double theta = numeric::RadiansToDegrees(std::atan2(2.0L * txy, sx - sy)) / 2.0L;
    double azimuth = Keep(90.0L - theta);
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
  if (values.s1 == values.s2 || values.s2 == values.s3)
    return std::nullopt;
  return ClassifyRegime(plunge1, plunge2, plunge3);
}

JointAssessment AssessJoint(const stress::PrincipalValues& values,
                            const stress::JointStresses& joint) {
  JointAssessment a;
  if (joint.sigma > 0.0)
    a.slipTendency = Keep(static_cast<long double>(joint.tau) / joint.sigma);
  if (values.s1 != values.s3) {
    const long double s1 = values.s1;
    const long double td = (s1 - joint.sigma) / (s1 - values.s3);
    a.dilationTendency = Keep(std::clamp(td, 0.0L, 1.0L));
  }
  a.factorOfSafety = joint.tau == 0.0 ? std::numeric_limits<double>::infinity()
                                      : Keep(static_cast<long double>(joint.tauLim) / joint.tau);
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
