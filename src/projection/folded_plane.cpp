#include "projection/folded_plane.h"

#include <cmath>

#include "numeric/extended_math.h"

namespace projection {

Plane FoldedPlane(double dipDirection, double dip) {
  const Plane given{dipDirection, dip};
  if (dip >= 0.0 && dip <= static_cast<double>(numeric::kHalfPi))
    return given;

  const long double sinDip = numeric::Sin(dip);
  long double nx = numeric::Sin(dipDirection) * sinDip;
  long double ny = numeric::Cos(dipDirection) * sinDip;
  long double nz = numeric::Cos(dip);
  if (nx == 0.0L && ny == 0.0L && nz == 0.0L)
    return given;
  if (nz < 0.0L) {
    nx = -nx;
    ny = -ny;
    nz = -nz;
  }
  // Components of a unit vector (or zero): no overflow, no NaN.
  const long double horizontal = std::hypot(nx, ny);
  Plane folded;
  folded.dip = static_cast<double>(std::atan2(horizontal, nz));
  folded.dipDirection = horizontal == 0.0L ? dipDirection : static_cast<double>(std::atan2(nx, ny));
  return folded;
}

}  // namespace projection
