#pragma once
// Effective stresses under a pore pressure Pp, by Terzaghi's principle with a
// Biot coefficient of 1: every normal stress less Pp, shear stresses
// unchanged. The joint's assessment on effective stress: how near it is to
// slipping, and how much more pore pressure it can take.
// Conventions: see analysis/stress_measures.h (compression positive, stresses
// in the user's unit, angles in degrees, long double terms rounded once).
// Nothing here throws: a quantity without a value is an empty optional.

#include <optional>

#include "analysis/stress_measures.h"
#include "stress/joint_stresses.h"
#include "stress/stress_state.h"

namespace analysis {

/// s1 - Pp, s2 - Pp, s3 - Pp (empty where a difference leaves the double range).
std::optional<stress::PrincipalValues> EffectiveValues(const stress::PrincipalValues& values,
                                                       double porePressure);

struct EffectiveJoint {
  double porePressure = 0.0;
  /// sigma' = sigma - Pp.
  std::optional<double> sigma;
  /// tauLim' = c + sigma' tan(phi), 0 for sigma' < 0 (c for sigma' == 0).
  std::optional<double> tauLim;
  /// Ts = tau / sigma'; empty for sigma' <= 0.
  std::optional<double> slipTendency;
  /// Ts,max = (s1' - s3') / (2 sqrt(s1' s3')), the largest tau/sigma' of any
  /// plane; empty unless s3' > 0.
  std::optional<double> slipTendencyMax;
  /// Ts / Ts,max; empty where either is, or Ts,max == 0.
  std::optional<double> normalizedSlipTendency;
  /// Td = (s1 - sigma) / (s1 - s3), the same on total and effective stress.
  std::optional<double> dilationTendency;
  /// F = tauLim' / tau; +infinity for tau == 0 < tauLim'; empty for 0/0.
  std::optional<double> factorOfSafety;
  /// CFF = tau - tauLim'; positive past the limit.
  std::optional<double> coulombFailure;
  /// The pore-pressure increase that brings the joint onto its limit line:
  /// sigma' - (tau - c) / tan(phi); negative when past it; empty for phi == 0.
  std::optional<double> porePressureToSlip;
  /// Opens for sigma' < 0, slips for tau >= tauLim', else stable.
  std::optional<JointState> state;
};

/// The assessment of a joint whose total stresses `stresses` were computed
/// with `values` and `joint`, under pore pressure `porePressure`. With Pp = 0
/// sigma' and tauLim' are the total sigma and tauLim to the bit. A tau within
/// AgreementBound of the values (analysis/stress_measures.h) counts as 0. A
/// friction angle of 90 degrees or more in magnitude has no limit: tauLim',
/// F, CFF, dPc and the state are empty.
EffectiveJoint AssessEffective(const stress::PrincipalValues& values,
                               const stress::JointStresses& stresses,
                               const stress::JointPlane& joint, double porePressure);

}  // namespace analysis
