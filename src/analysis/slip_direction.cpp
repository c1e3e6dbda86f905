#include "analysis/slip_direction.h"

#include <cmath>

#include "numeric/extended_math.h"

namespace analysis {

using numeric::Extended;

namespace {

struct LongVector {
  Extended x = 0;
  Extended y = 0;
  Extended z = 0;
};

Extended Dot(const LongVector& a, const LongVector& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Degrees(Extended radians) {
  return static_cast<double>(numeric::RadiansToDegrees(radians));
}

}  // namespace

std::optional<SlipDirection> ComputeSlipDirection(const stress::StressState& s, double dipDirection,
                                                  double dip, double zeroShear) {
  return ComputeSlipDirection(s, stress::PlaneTermsOf(dipDirection, dip), zeroShear);
}

std::optional<SlipDirection> ComputeSlipDirection(const stress::StressState& s,
                                                  const stress::PlaneTerms& terms,
                                                  double zeroShear) {
  // The normal as the joint's stresses form it, so that both describe the
  // same plane to the bit.
  const stress::Vector3 normal = stress::NormalOf(terms);
  const LongVector n{normal.x, normal.y, normal.z};
  const LongVector t{s.sx * n.x + s.txy * n.y + s.tzx * n.z, s.txy * n.x + s.sy * n.y + s.tyz * n.z,
                     s.tzx * n.x + s.tyz * n.y + s.sz * n.z};
  const Extended sigma = Dot(n, t);
  // The slip vector: minus the shear traction.
  const LongVector shear{sigma * n.x - t.x, sigma * n.y - t.y, sigma * n.z - t.z};
  const Extended length = numeric::Sqrt(Dot(shear, shear));
  if (!(length > zeroShear) || !std::isfinite(static_cast<double>(length)))
    return std::nullopt;
  const LongVector v{shear.x / length, shear.y / length, shear.z / length};

  // Strike (azimuth beta - 90) and the up-dip direction, both in the plane.
  const LongVector strike{-terms.cosBeta, terms.sinBeta, 0};
  const LongVector upDip{-terms.sinBeta * terms.cosPsi, -terms.cosBeta * terms.cosPsi,
                         terms.sinPsi};

  SlipDirection slip;
  slip.vector = {static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.z)};
  slip.rake = Degrees(std::atan2(Dot(v, upDip), Dot(v, strike)));
  if (slip.rake <= -180.0)
    slip.rake = 180.0;
  const Extended horizontal = std::hypot(v.x, v.y);
  slip.plunge = Degrees(std::atan2(-v.z, horizontal)) + 0.0;  // no -0
  if (horizontal > 0) {
    slip.trend = Degrees(std::atan2(v.x, v.y));
    if (slip.trend < 0.0)
      slip.trend += 360.0;
    if (slip.trend >= 360.0)
      slip.trend = 0.0;
  }
  return slip;
}

}  // namespace analysis
