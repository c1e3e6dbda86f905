#pragma once
// The quantities the Mohr window derives from a pass (analysis/
// stress_measures.h), as numbers. Every view of them, the window's texts and
// the command line's fields, is drawn from this record, so they cannot differ.
// Units and conventions: those of analysis/stress_measures.h. A member is
// empty when the pass did not get far enough, or when the quantity has no
// value (see analysis/stress_measures.h).

#include <optional>

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

  // Set once the six components were read.
  std::optional<double> sv;
  std::optional<double> shMax;
  std::optional<double> shMin;
  std::optional<double> shMaxAzimuth;  ///< also empty when SHmax == Shmin

  /// Set once the values and all three axes are known, and no two values are equal.
  std::optional<analysis::FaultingRegime> regime;

  // Set once the joint's stresses were computed.
  std::optional<double> slipTendency;      ///< also empty for sigma <= 0
  std::optional<double> dilationTendency;  ///< also empty when s1 == s3
  std::optional<double> factorOfSafety;    ///< +infinity when tau == 0
  std::optional<analysis::JointState> jointState;
};

/// The derived quantities of `results`. Throws nothing.
DerivedResults ComputeDerived(const PassResults& results);

}  // namespace engine
