#pragma once
// What one pass read and computed. The pass fills the record step by step, in
// the order the window shows the steps, so a pass that stops early holds
// exactly the steps it finished: a member is empty when the pass did not get
// that far (or, for the joint, when the joint was not active). Views, copies,
// reports and the command line are drawn from these numbers, never from shown
// texts; they are the values before any rounding for display.
// Conventions: see stress/stress_state.h. Stresses in the user's unit,
// compression positive; angles in degrees, except the planes handed to the
// net, which are in radians.

#include <array>
#include <optional>
#include <string>

#include "stress/joint_stresses.h"
#include "stress/principal_axes.h"
#include "stress/stress_state.h"

namespace engine {

/// The ten inputs, in the order a pass reads them: the joint's dip direction
/// and dip (joint active), the six stress components, then the joint's
/// cohesion and friction angle (joint active).
enum class Input {
  kJointDipDirection,
  kJointDip,
  kSx,
  kSy,
  kSz,
  kTxy,
  kTyz,
  kTzx,
  kJointCohesion,
  kJointFriction,
};
inline constexpr int kInputCount = 10;

/// One principal stress's axis as the pass found it.
struct PrincipalDirection {
  stress::Vector3 axis;       ///< the stored unit axis (a column of the direction cosines)
  stress::Vector3 lower;      ///< the same axis pointing downward (z <= 0)
  double azimuth = 0.0;       ///< degrees, in the pass's convention
  double dip = 0.0;           ///< plunge, degrees below the horizontal
  stress::PlaneAngles plane;  ///< the principal plane for the net, radians
};

/// Why a pass stopped before its end.
struct PassStop {
  /// The input the pass reached without a value (its text was no number);
  /// empty when a floating-point error stopped it.
  std::optional<Input> unread;
  /// The floating-point error's message ("Floating point overflow", ...);
  /// empty when `unread` is set.
  std::string message;
};

struct PassResults {
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  bool jointActive = false;
  /// The pore pressure the pass was run with (effective stresses are those
  /// less it).
  double porePressure = 0.0;

  /// The joint's plane as the net draws it (radians, dip folded into
  /// [0, pi/2]); set once its dip direction and dip were read (joint active).
  std::optional<stress::PlaneAngles> jointPlane;
  /// The six stress components as read (set once all six were read).
  std::optional<stress::StressState> state;
  /// s1 >= s2 >= s3.
  std::optional<stress::PrincipalValues> values;
  /// Entry i for principal value i, set once its axis and angles are known.
  std::array<std::optional<PrincipalDirection>, 3> directions;
  /// The nine direction cosines as shown, entry i the column of value i as
  /// (L, M, N): the stored axes, the first column times the handedness factor.
  std::optional<std::array<stress::Vector3, 3>> cosines;
  /// The joint's four inputs, set once all four were read (joint active).
  std::optional<stress::JointPlane> joint;
  /// sigma, tau, tauLim (joint active).
  std::optional<stress::JointStresses> jointStresses;
  /// Empty when the pass ran to its end.
  std::optional<PassStop> stop;

  /// All three axes found.
  bool HasDirections() const {
    return directions[0].has_value() && directions[1].has_value() && directions[2].has_value();
  }
};

}  // namespace engine
