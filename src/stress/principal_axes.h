#pragma once
// Principal directions and their orientation angles.
// Conventions: see stress/stress_state.h. Azimuths and dips describe the axis
// taken pointing downward (lower hemisphere, z <= 0).

#include "stress/stress_state.h"

namespace stress {

/// The unit axes of the principal values `values` of `s` (as computed by
/// ComputePrincipalValues), entry i for value i: always an orthonormal set,
/// the same for the same arguments, and as accurate for a nearly isotropic
/// state as for its deviator alone (the rounding of the values to double never
/// enters). A state without shear gives the coordinate axes exactly; an
/// isotropic one gives x, y, z; a repeated pair is completed to a
/// right-handed set. Signs follow the 1e-4 candidate rule of the stored values
/// where it is more than rounding residue (principal_axes.cpp tells the
/// cases). Throws numeric::FloatingPointError("Floating point overflow") when
/// a candidate component or a principal value exceeds the double range.
PrincipalAxes ComputePrincipalAxes(const StressState& s, const PrincipalValues& values);

/// Unit axis of principal value `index` (0 for s1, 1 for s2, 2 for s3) of `s`,
/// whose sorted values `values` were computed by ComputePrincipalValues.
/// Entry `index` of ComputePrincipalAxes(s, values), so that calls for 0, 1
/// and 2 in turn give one orthonormal set. Throws std::out_of_range for any
/// other index.
Vector3 PrincipalAxis(const StressState& s, const PrincipalValues& values, int index);

/// The angles of one axis taken pointing downward, in radians.
struct AxisAngles {
  Vector3 lower;           ///< the axis negated when its z > 0, so that z <= 0
  double dip = 0.0;        ///< below the horizontal, [0, pi/2]
  double eastAngle = 0.0;  ///< counter-clockwise from East, (-pi/2, 3pi/2]
  double azimuth = 0.0;    ///< in the convention asked for, [0, 2pi]
};

/// Orientation of the unit vector `axis`, its azimuth measured by `convention`.
AxisAngles AxisOrientation(const Vector3& axis, Azimuth convention);

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
