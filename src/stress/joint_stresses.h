#pragma once
// Stresses and Mohr-Coulomb strength on a joint (a plane of weakness).
// Conventions: see stress/stress_state.h. Joint angles are given in degrees,
// as typed; compression is positive, so sigma < 0 means an open joint.

#include "numeric/extended.h"
#include "stress/stress_state.h"

namespace stress {

/// The joint's four inputs.
struct JointPlane {
  double beta = 0.0;  ///< dip direction, degrees clockwise from North
  double psi = 0.0;   ///< dip, degrees below the horizontal
  double phi = 0.0;   ///< friction angle, degrees
  double c = 0.0;     ///< cohesion, stress units
};

/// The joint's three results.
struct JointStresses {
  double sigma = 0.0;   ///< normal stress on the joint
  double tau = 0.0;     ///< magnitude of the shear stress, never negative
  double tauLim = 0.0;  ///< c + sigma*tan(phi); 0 when sigma < 0
};

/// The sines and cosines of a plane's dip direction beta and dip psi
/// (degrees, turned into radians as value * pi / 180), each computed once:
/// what the normal, the stresses and the slip direction share.
struct PlaneTerms {
  numeric::Extended sinBeta = 0;
  numeric::Extended cosBeta = 1;
  numeric::Extended sinPsi = 0;
  numeric::Extended cosPsi = 1;
};
PlaneTerms PlaneTermsOf(double betaDegrees, double psiDegrees);
/// JointNormal from the terms, to the bit.
Vector3 NormalOf(const PlaneTerms& terms);

/// Upward unit normal of the plane dipping psi towards beta (degrees, turned
/// into radians as value * pi / 180): (sin beta sin psi, cos beta sin psi,
/// cos psi). Angles of 2^63 rad or more have sine and cosine 0 (no error), so
/// the vector is then no longer a unit vector.
Vector3 JointNormal(double betaDegrees, double psiDegrees);

/// Mohr-Coulomb limit of the shear stress at normal stress `sigma`:
/// c + sigma * tan(phi * pi / 180), and 0 when sigma < 0 (an open joint
/// carries no shear, cohesion included); sigma == 0 exactly gives c.
/// The tangent is taken first, also under tension: throws
/// numeric::FloatingPointError("Invalid floating point operation") when the
/// friction angle in radians reaches 2^63 in magnitude, and "Floating point
/// overflow" when the limit exceeds the double range.
double LimitingShearStress(double sigma, double cohesion, double frictionDegrees);

/// Stresses on the joint from the principal values and the downward principal
/// axes (only squares of projections enter, so the axes' signs do not matter;
/// any orthonormal set of a repeated value gives the same result). With k_i
/// the cosine between the normal and axis i: sigma = sum s_i k_i^2 and tau =
/// sqrt(sum over pairs (s_j - s_i)^2 k_i^2 k_j^2), equal to n.S.n and
/// |S n - sigma n|. (beta, psi), (beta + 360, psi) and (beta + 180, -psi) are
/// the same plane. The friction angle is used unchanged (above 90 degrees its
/// tangent is negative).
/// Throws numeric::FloatingPointError("Invalid floating point operation") when
/// the friction angle in radians reaches 2^63 in magnitude, also under
/// tension, and "Floating point overflow" when a result exceeds the double
/// range.
JointStresses ComputeJointStresses(const PrincipalValues& values, const PrincipalAxes& lowerAxes,
                                   const JointPlane& joint);

/// sigma and tau on the plane of unit normal `n` as ComputeJointStresses
/// computes them (to the bit, for n = JointNormal of its joint); tauLim is 0.
/// Throws numeric::FloatingPointError("Floating point overflow") when a
/// result exceeds the double range.
JointStresses StressesOnPlane(const PrincipalValues& values, const PrincipalAxes& lowerAxes,
                              const Vector3& n);

}  // namespace stress
