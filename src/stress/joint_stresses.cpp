#include "stress/joint_stresses.h"

#include <array>
#include <cstddef>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"

namespace stress {

using numeric::Extended;

using numeric::Cos;
using numeric::DegreesToRadians;
using numeric::Sin;
using numeric::Store;

PlaneTerms PlaneTermsOf(double betaDegrees, double psiDegrees) {
  const Extended beta = DegreesToRadians(betaDegrees);
  const Extended psi = DegreesToRadians(psiDegrees);
  return {Sin(beta), Cos(beta), Sin(psi), Cos(psi)};
}

Vector3 NormalOf(const PlaneTerms& t) {
  return {Store(t.sinBeta * t.sinPsi), Store(t.cosBeta * t.sinPsi), Store(t.cosPsi)};
}

Vector3 JointNormal(double betaDegrees, double psiDegrees) {
  return NormalOf(PlaneTermsOf(betaDegrees, psiDegrees));
}

JointStresses ComputeJointStresses(const PrincipalValues& values, const PrincipalAxes& lowerAxes,
                                   const JointPlane& joint) {
  JointStresses result = StressesOnPlane(values, lowerAxes, JointNormal(joint.beta, joint.psi));
  result.tauLim = LimitingShearStress(result.sigma, joint.c, joint.phi);
  return result;
}

JointStresses StressesOnPlane(const PrincipalValues& values, const PrincipalAxes& lowerAxes,
                              const Vector3& n) {
  // Direction cosines of the normal against the principal axes: the normal's
  // components in the principal frame, k1^2 + k2^2 + k3^2 = 1.
  std::array<Extended, 3> kSquared{};
  for (std::size_t i = 0; i < 3; ++i) {
    const Vector3& u = lowerAxes[i];
    const Extended k = Store(static_cast<Extended>(u.x) * n.x + static_cast<Extended>(u.y) * n.y +
                             static_cast<Extended>(u.z) * n.z);
    kSquared[i] = k * k;
  }
  const Extended s1 = values.s1;
  const Extended s2 = values.s2;
  const Extended s3 = values.s3;
  const Extended kk1 = kSquared[0];
  const Extended kk2 = kSquared[1];
  const Extended kk3 = kSquared[2];

  JointStresses result;
  result.sigma = Store(s1 * kk1 + s2 * kk2 + s3 * kk3);
  // A sum of squares, so the root always exists.
  result.tau =
      Store(numeric::Sqrt((s2 - s1) * (s2 - s1) * kk1 * kk2 + (s3 - s2) * (s3 - s2) * kk2 * kk3 +
                          (s3 - s1) * (s3 - s1) * kk3 * kk1));
  return result;
}

double LimitingShearStress(double sigma, double cohesion, double frictionDegrees) {
  // The tangent is taken (and may fail) before the tension cut-off, which then
  // drops the cohesion as well: an open joint carries no shear at all.
  // sigma == 0 exactly keeps the cohesion.
  const double limit = Store(cohesion + sigma * numeric::Tan(DegreesToRadians(frictionDegrees)));
  return sigma < 0.0 ? 0.0 : limit;
}

}  // namespace stress
