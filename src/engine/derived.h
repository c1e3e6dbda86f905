#pragma once
// The quantities the Mohr window derives from a pass (analysis/
// stress_measures.h, and analysis/effective_stress.h under the pass's pore
// pressure), as numbers. Every view of them, the window's texts and
// the command line's fields, is drawn from this record, so they cannot differ.
// Units and conventions: those of analysis/stress_measures.h. A member is
// empty when the pass did not get far enough, or when the quantity has no
// value (see analysis/stress_measures.h).

#include <optional>

#include "analysis/effective_stress.h"
#include "analysis/stress_measures.h"
#include "engine/pass_results.h"

namespace engine {

struct DerivedResults {
  // Set once the principal values are known.
  std::optional<double> mean;
  std::optional<double> maxShear;
  std::optional<double> vonMises;
  std::optional<double> octahedralShear;
  std::optional<double> stressRatio;  ///< also empty when s1 == s3
  /// s1 - Pp, s2 - Pp, s3 - Pp.
  std::optional<stress::PrincipalValues> effectiveValues;

  // Set once the six components were read.
  std::optional<double> sv;
  std::optional<double> shMax;
  std::optional<double> shMin;
  std::optional<double> shMaxAzimuth;  ///< also empty when SHmax == Shmin

  /// Set once the values and all three axes are known, and no two values are equal.
  std::optional<analysis::FaultingRegime> regime;

  // Set once the joint's stresses were computed; on effective stress (the
  // total values when the pore pressure is 0). See analysis/effective_stress.h.
  std::optional<double> sigmaEffective;
  std::optional<double> tauLimEffective;
  std::optional<double> slipTendency;     ///< tau / sigma'; empty for sigma' <= 0
  std::optional<double> slipTendencyMax;  ///< empty unless s3' > 0
  std::optional<double> normalizedSlipTendency;
  std::optional<double> dilationTendency;  ///< also empty when s1 == s3
  /// tauLim' / tau: +infinity when tau == 0 < tauLim', empty when both are 0.
  std::optional<double> factorOfSafety;
  std::optional<double> coulombFailure;      ///< tau - tauLim'
  std::optional<double> porePressureToSlip;  ///< empty for phi == 0
  std::optional<analysis::JointState> jointState;
};

/// The derived quantities of `results`. Throws nothing.
DerivedResults ComputeDerived(const PassResults& results);

}  // namespace engine
