#pragma once
// The calculation of the program as one function: numbers in, a results
// record out. The window, the report, the command line and the tests all run
// it; nothing else strings its steps together.
// Conventions: see stress/stress_state.h and engine/pass_results.h.

#include <array>
#include <optional>

#include "engine/pass_results.h"
#include "stress/joint_stresses.h"
#include "stress/stress_state.h"

namespace engine {

/// The inputs of one pass. An empty value is an input whose text was no
/// number: the pass stops where it would read it.
struct PassInputs {
  std::array<std::optional<double>, kInputCount> values;
  bool jointActive = false;
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  /// Pore pressure for the effective stresses, in the stress unit; the pass
  /// itself computes total stresses and only carries it to its results.
  double porePressure = 0.0;

  std::optional<double>& operator[](Input input) { return values[static_cast<int>(input)]; }
  const std::optional<double>& operator[](Input input) const {
    return values[static_cast<int>(input)];
  }

  /// Every input given; the joint active exactly when `joint` is given.
  static PassInputs Of(const stress::StressState& state, stress::Azimuth azimuth,
                       const std::optional<stress::JointPlane>& joint = std::nullopt);
};

/// Runs the pass on `inputs`, in this order: the joint's plane for the net
/// (joint active), the six components, the principal values, for s1, s2, s3
/// in turn the axis with its angles and plane, the direction cosines, then
/// the joint's stresses (joint active). It stops at the first input it
/// reaches without a value, or at a floating-point error (numeric/
/// floating_point_error.h), and says which in `stop`; everything before that
/// point is filled, nothing after it. Throws nothing for finite inputs.
PassResults RunPass(const PassInputs& inputs);

}  // namespace engine
