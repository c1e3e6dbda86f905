#pragma once
// What one recalculation pass read and computed, kept by the main window
// until the next pass begins. The pass fills it step by step as it writes the
// boxes, so a pass that stops early leaves exactly the steps it finished: a
// member is empty when the pass did not get that far (or, for the joint, when
// the joint was not active). Views and reports are drawn from these numbers,
// never from the boxes' texts; the numbers are those the boxes show, before
// FormatNumber turns them into text.
// Conventions: see stress/stress_state.h. Stresses in the user's unit,
// compression positive; angles in degrees.
// No Qt: the type can be handed to any writer.

#include <array>
#include <optional>

#include "stress/joint_stresses.h"
#include "stress/stress_state.h"

namespace ui {

/// One principal stress's axis as the pass found and showed it.
struct PrincipalDirection {
  stress::Vector3 axis;   ///< the stored unit axis, as DirectionCosines() keeps it
  stress::Vector3 lower;  ///< the same axis pointing downward (z <= 0)
  double azimuth = 0.0;   ///< degrees, in the pass's convention (angleMode); box 4, 6 or 8
  double dip = 0.0;       ///< plunge, degrees below the horizontal; box 5, 7 or 9
};

struct PassResults {
  /// Azimuth convention of the pass: non-zero clockwise from North, 0
  /// counter-clockwise from East.
  int angleMode = 0;
  /// Whether chkJoint was checked when the pass looked at it.
  bool jointActive = false;

  /// The six stress components as read (set once all six converted).
  std::optional<stress::StressState> state;
  /// s1 >= s2 >= s3; boxes 1 to 3.
  std::optional<stress::PrincipalValues> values;
  /// Entry i for principal value i, set once its two angle boxes are written.
  std::array<std::optional<PrincipalDirection>, 3> directions;
  /// The nine direction cosines as shown, entry i the column of value i as
  /// (L, M, N): the stored axes, the first column times the handedness
  /// factor; boxes 10 to 18.
  std::optional<std::array<stress::Vector3, 3>> cosines;
  /// The joint's four inputs, set once all four converted (joint active).
  std::optional<stress::JointPlane> joint;
  /// sigma, tau, tauLim once written into boxes 19 to 21 (joint active).
  std::optional<stress::JointStresses> jointStresses;

  /// All three axes found.
  bool HasDirections() const {
    return directions[0].has_value() && directions[1].has_value() && directions[2].has_value();
  }
};

}  // namespace ui
