#include "stress/plane_pair.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace stress::detail {

using numeric::Extended;

namespace {

/// D * v for the deviator d.
LongVector Apply(const DeviatoricStress& d, const LongVector& v) {
  return {d.dx * v[0] + d.txy * v[1] + d.tzx * v[2], d.txy * v[0] + d.dy * v[1] + d.tyz * v[2],
          d.tzx * v[0] + d.tyz * v[1] + d.dz * v[2]};
}

Extended LargestComponent(const DeviatoricStress& d) {
  return std::max({std::fabs(d.dx), std::fabs(d.dy), std::fabs(d.dz), std::fabs(d.txy),
                   std::fabs(d.tyz), std::fabs(d.tzx)});
}

}  // namespace

PlanePair SolvePlanePair(const DeviatoricStress& d, const Vector3& isolatedAxis) {
  const LongVector a = Normalised(Extend(isolatedAxis));

  std::size_t least = 0;
  for (std::size_t k = 1; k < 3; ++k) {
    if (std::fabs(a[k]) < std::fabs(a[least]))
      least = k;
  }
  LongVector g{0.0, 0.0, 0.0};
  g[least] = 1.0;
  // |a[least]| <= 1/sqrt(3), so the projection keeps at least sqrt(2/3) of g.
  const LongVector e1 =
      Normalised({g[0] - a[least] * a[0], g[1] - a[least] * a[1], g[2] - a[least] * a[2]});
  const LongVector e2 = Cross(a, e1);

  const LongVector de1 = Apply(d, e1);
  const LongVector de2 = Apply(d, e2);
  const Extended b11 = Dot(e1, de1);
  const Extended b22 = Dot(e2, de2);
  const Extended b12 = (Dot(e1, de2) + Dot(e2, de1)) / 2.0;

  const Extended halfDifference = (b11 - b22) / 2.0;

  PlanePair pair;
  pair.centre = (b11 + b22) / 2.0;
  pair.radius = std::hypot(halfDifference, b12);
  pair.repeated = pair.radius <= kRepeatedPair * LargestComponent(d);
  if (pair.repeated || b12 == 0.0) {
    // A diagonal B has e1 and e2 as its axes exactly; turning by psi = pi/2
    // would leave cos(psi), about 2.5e-20 in the x87 type, in place of a zero.
    pair.upperAxis = pair.repeated || halfDifference >= 0.0 ? e1 : e2;
  } else {
    // tan(2 psi) = b12 / halfDifference; psi in (-pi/2, pi/2), so cos(psi) > 0.
    const Extended psi = std::atan2(b12, halfDifference) / 2.0;
    const Extended c = std::cos(psi);
    const Extended s = std::sin(psi);
    pair.upperAxis = {c * e1[0] + s * e2[0], c * e1[1] + s * e2[1], c * e1[2] + s * e2[2]};
  }
  pair.lowerAxis = Cross(a, pair.upperAxis);
  return pair;
}

}  // namespace stress::detail
