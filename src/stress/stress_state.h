#pragma once
// Stress computation at a point.
// Frame: x East, y North, z up. Stresses in the user's unit, used exactly as
// typed (the window asks for compression positive); nothing is negated.
// Angles in radians; degrees only at the window. Formulas carry intermediate
// terms in the extended type (numeric/extended.h) and store doubles.

#include <array>

namespace stress {

/// The symmetric stress tensor S = [[sx, txy, tzx], [txy, sy, tyz], [tzx, tyz, sz]].
struct StressState {
  double sx = 0.0;
  double sy = 0.0;
  double sz = 0.0;
  double txy = 0.0;
  double tyz = 0.0;
  double tzx = 0.0;
};

/// A vector of the global frame: x East, y North, z up.
struct Vector3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

/// The three principal values, sorted s1 >= s2 >= s3.
struct PrincipalValues {
  double s1 = 0.0;
  double s2 = 0.0;
  double s3 = 0.0;

  double operator[](int i) const { return i == 0 ? s1 : (i == 1 ? s2 : s3); }
};

/// How an azimuth is measured.
enum class Azimuth {
  kCounterClockwiseFromEast,  ///< from the +x axis, towards North
  kClockwiseFromNorth,        ///< from the +y axis, towards East
};

/// Three axes, entry i belonging to principal value i (0 for s1).
using PrincipalAxes = std::array<Vector3, 3>;

}  // namespace stress
