#pragma once
// Principal directions and their orientation angles.
// Conventions: see stress/stress_state.h. Azimuths and dips describe the axis
// taken pointing downward (lower hemisphere, z <= 0).

#include "stress/stress_state.h"

namespace stress {

/// The unit axes of the three principal values `values` of `s`, as computed
/// by ComputePrincipalValues; entry i belongs to value i.
///
/// The axes come from the values unrounded. When `values` are the stored
/// form of the roots of the closed form for `s`, as ComputePrincipalValues
/// gives them, those roots are recomputed in extended precision, and each candidate
/// is formed from the rows of D - y*I, the deviator less the deviatoric root
/// (see CandidateAxis in axis_candidate.h). The rounding of a value to double,
/// up to half a unit in the last place of the mean, then never enters: the
/// axes of a nearly isotropic state are as accurate as those of its deviator
/// alone, whatever the mean. Values that do not belong to `s` are taken as
/// given.
///
/// They always form an orthonormal set, and the same arguments always give the
/// same set:
/// - a state whose three shears are zero (its values are its normal
///   stresses): the coordinate axes exactly, each value taking the first axis
///   not yet taken whose normal stress it is; a repeated pair among them is
///   oriented as below;
/// - three well separated values: each axis has the direction of its
///   cross-product candidate; the isolated value's axis is its candidate, the
///   other end value's candidate loses its rounding component along it, and
///   the middle axis completes the set;
/// - a close pair (gap below 1e-2 of the spread): the isolated value's axis is
///   its candidate; the pair's axes are those of the 2x2 problem in the plane
///   at right angles to it;
/// - an exactly repeated pair: the axis of the pair's larger value is the
///   global axis least aligned with the isolated axis (x before y before z
///   on ties), projected into the plane and normalised; the smaller value's
///   axis completes a right-handed set;
/// - an isotropic state (s1 == s3 unrounded, the all-zero state included):
///   x, y, z.
/// Each axis but those of a repeated pair takes the sign of the candidate that
/// the 1e-4 rule picks for its value as stored (RuleCandidate, from the rows of
/// S - s*I) wherever that candidate is more than rounding residue, within 60
/// degrees of the axis, however short it is against the other candidates;
/// else the sign of the longest candidate of the stored value, else that of
/// its unrounded candidate, where one of those is; else it keeps its own.
/// Throws numeric::FloatingPointError("Floating point overflow") when a
/// candidate component exceeds the double range, or when the principal values
/// of `s` do (then no values belong to it).
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
