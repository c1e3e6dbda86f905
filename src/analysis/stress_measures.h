#pragma once
// Quantities derived from a computed stress state: invariant measures, the
// horizontal stresses, the faulting regime and the joint's slip assessment.
// Conventions: see stress/stress_state.h. Compression is positive, so s1 is
// the most compressive principal value and a joint with sigma < 0 is open.
// Stresses in the user's unit; angles in degrees (these are shown, never fed
// back into a trigonometric formula). Terms are carried in long double and
// rounded to double once. Nothing here throws: a quantity without a defined
// value is an empty optional, shown as a dash.

#include <optional>

#include "stress/joint_stresses.h"
#include "stress/stress_state.h"

namespace analysis {

/// Where two computed values count as equal. The principal values are
/// accurate to a few 1e-15 of the largest magnitude (stress/principal_values.h)
/// in the extended build, so values whose true counterparts are equal may
/// differ by that much, and a difference that small says nothing about their
/// order. The bound is (16 * 2^-52 + 1024 * epsilon of the extended type)
/// times the scale: 3.7e-15 with the x87 type, 2.3e-13 where long double is
/// double and the values carry that much more rounding.
double AgreementBound(double scale);
/// |a - b| <= AgreementBound(scale).
bool Agree(double a, double b, double scale);
/// The largest magnitude of the principal values, the scale of their errors.
double ScaleOf(const stress::PrincipalValues& values);

/// Measures of the principal values alone.
struct StressMeasures {
  double meanStress = 0.0;       ///< p = (s1 + s2 + s3) / 3
  double maxShear = 0.0;         ///< (s1 - s3) / 2, the radius of the largest Mohr circle
  double vonMises = 0.0;         ///< q = sqrt(((s1-s2)^2 + (s2-s3)^2 + (s3-s1)^2) / 2)
  double octahedralShear = 0.0;  ///< sqrt((s1-s2)^2 + (s2-s3)^2 + (s3-s1)^2) / 3
  /// Phi = (s2 - s3) / (s1 - s3), within [0, 1] for sorted values; empty when
  /// s1 and s3 agree (an isotropic state has no shape).
  std::optional<double> stressRatio;
};

/// The measures of sorted values s1 >= s2 >= s3.
StressMeasures ComputeStressMeasures(const stress::PrincipalValues& values);

/// Vertical and horizontal stresses of the global frame (z up).
struct HorizontalStresses {
  double sv = 0.0;     ///< vertical stress, sz
  double shMax = 0.0;  ///< larger principal value of [[sx, txy], [txy, sy]]
  double shMin = 0.0;  ///< smaller one; shMin <= shMax
  /// Azimuth of SHmax in degrees, in [0, 180), in the convention asked for;
  /// empty when SHmax and Shmin agree (every horizontal direction is then
  /// principal).
  std::optional<double> shMaxAzimuth;
};

/// SHmax and Shmin lie within [s3, s1] of the whole tensor (interlacing), up
/// to rounding of a few units in the last place of the largest component.
HorizontalStresses ComputeHorizontalStresses(
    const stress::StressState& s,
    stress::Azimuth convention = stress::Azimuth::kClockwiseFromNorth);

/// Faulting regimes after the plunges of the principal axes (the World Stress
/// Map classification of Zoback, 1992).
enum class FaultingRegime {
  kNormal,            ///< NF: s1 plunge >= 52, s3 plunge <= 35
  kNormalStrikeSlip,  ///< NS: 40 <= s1 < 52, s3 <= 20
  kStrikeSlip,        ///< SS: s1 < 40, s2 >= 45, s3 <= 20; or s1 <= 20, s2 >= 45, s3 < 40
  kThrustStrikeSlip,  ///< TS: s1 <= 20, 40 <= s3 < 52
  kThrust,            ///< TF: s1 <= 35, s3 >= 52
  kUnknown,           ///< U: any other combination
};

/// The class of the plunges (degrees below the horizontal, 0 to 90) of the
/// s1, s2 and s3 axes. The classes exclude each other, so the order of the
/// tests does not matter.
FaultingRegime ClassifyRegime(double plunge1, double plunge2, double plunge3);

/// The regime of a state whose axes plunge so; empty when two principal values
/// agree, since the axes of a repeated value are arbitrary.
std::optional<FaultingRegime> RegimeOf(const stress::PrincipalValues& values, double plunge1,
                                       double plunge2, double plunge3);

/// Whether the joint slips under the Mohr-Coulomb criterion.
enum class JointState {
  kOpens,   ///< sigma < 0: the joint is in tension
  kSlips,   ///< tau >= tauLim
  kStable,  ///< tau < tauLim
};

/// How near the joint is to slipping or opening.
struct JointAssessment {
  /// Ts = tau / sigma; empty for sigma <= 0.
  std::optional<double> slipTendency;
  /// Td = (s1 - sigma) / (s1 - s3), held within [0, 1] (sigma is computed
  /// independently of s1 and s3 and may lie a rounding residue outside them);
  /// empty when s1 == s3.
  std::optional<double> dilationTendency;
  /// F = tauLim / tau; +infinity when tau == 0.
  double factorOfSafety = 0.0;
  JointState state = JointState::kStable;
};

/// Assessment of the joint results computed with the same principal values.
JointAssessment AssessJoint(const stress::PrincipalValues& values,
                            const stress::JointStresses& joint);

}  // namespace analysis
