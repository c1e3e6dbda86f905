#pragma once
// The direction in which a plane would slip under a stress state: the
// hanging wall's motion relative to the footwall, parallel to the resolved
// shear traction.
// Conventions: see stress/stress_state.h (x East, y North, z up, compression
// positive). Planes by dip direction and dip in degrees, clockwise from North,
// as the joint; the results in degrees.

#include <optional>

#include "stress/joint_stresses.h"
#include "stress/stress_state.h"

namespace analysis {

struct SlipDirection {
  /// Unit vector of the hanging wall's motion: for the plane's upward unit
  /// normal n, the direction of -(S n - (n.S.n) n).
  stress::Vector3 vector;
  /// Aki-Richards rake in (-180, 180]: the angle in the plane from the strike
  /// (dip direction - 90, so that the plane dips to the right) to the slip
  /// vector, positive up-dip: 0 left-lateral, 90 reverse, -90 normal, 180
  /// right-lateral.
  double rake = 0.0;
  /// The slip vector's trend in [0, 360), clockwise from North (0 for a
  /// vertical vector), and plunge in [-90, 90], positive below the horizontal
  /// (negative for a hanging wall moving up).
  double trend = 0.0;
  double plunge = 0.0;
};

/// The slip direction of the plane dipping `dip` towards `dipDirection`
/// (degrees) under `state`; empty when the shear traction's magnitude is at
/// most `zeroShear` (a plane without shear has no slip direction; pass the
/// bound under which a computed shear is rounding residue).
std::optional<SlipDirection> ComputeSlipDirection(const stress::StressState& state,
                                                  double dipDirection, double dip,
                                                  double zeroShear);
/// The same from the plane's terms (stress/joint_stresses.h), for a caller
/// that has them already.
std::optional<SlipDirection> ComputeSlipDirection(const stress::StressState& state,
                                                  const stress::PlaneTerms& terms,
                                                  double zeroShear);

}  // namespace analysis
