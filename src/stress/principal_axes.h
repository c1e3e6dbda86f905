#pragma once
// Principal directions and their orientation angles.
// Conventions: see stress/stress_state.h. Azimuths and dips describe the axis
// taken pointing downward (lower hemisphere, z <= 0).

#include "stress/stress_state.h"

namespace stress {

/// Unit axis of principal value `index` (0 for s1, 1 for s2, 2 for s3) of `s`,
/// whose sorted values `values` were computed by ComputePrincipalValues.
/// The axis of an isolated value is the first of the three cross-product
/// candidates of the rows of S - s*I that is not negligible, with its sign.
/// The three axes of one state always form an orthonormal set: a close or
/// repeated pair gets its axes from the 2x2 problem in the plane at right
/// angles to the isolated axis; an isotropic state gets x, y and z.
/// Throws numeric::FloatingPointError when a stored quantity overflows.
Vector3 PrincipalAxis(const StressState& s, const PrincipalValues& values, int index);

/// The angles of one axis taken pointing downward, in radians.
struct AxisAngles {
  Vector3 lower;            ///< the axis negated when its z > 0, so that z <= 0
  double dip = 0.0;         ///< below the horizontal, [0, pi/2]
  double eastAngle = 0.0;   ///< counter-clockwise from East, (-pi/2, 3pi/2]
  double azimuth = 0.0;     ///< per angleMode, [0, 2pi]
};

/// Orientation of the unit vector `axis`. angleMode non-zero measures the
/// azimuth clockwise from North, 0 counter-clockwise from East.
AxisAngles AxisOrientation(const Vector3& axis, int angleMode);

/// 1.0 for x >= 0 (negative zero included), -1.0 otherwise.
double SignOf(double x);

/// The principal plane of an axis in the convention of the net plotter:
/// dip direction (pi/2 - eastAngle) - pi, in [-2pi, 0), and dip pi/2 - dip.
struct PlaneAngles {
  double dipDirection = 0.0;
  double dip = 0.0;
};
PlaneAngles PrincipalPlane(const AxisAngles& angles);

/// The factor f = SignOf(M2*N3 - N2*M3) * SignOf(L1) that the first shown
/// column of direction cosines is multiplied by; `axes` are the stored axes.
double HandednessFactor(const PrincipalAxes& axes);

}  // namespace stress
