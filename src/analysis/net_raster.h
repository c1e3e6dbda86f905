#pragma once
// A raster over the lower-hemisphere equal-area net, and the direction each
// of its points stands for. Net coordinates x East, y North, the unit circle
// the horizon, as projection/equal_area.h places poles: a line plunging p
// towards an azimuth plots at radius sqrt(1 - sin p) in that direction.
// Frame of the directions: x East, y North, z up.

#include <algorithm>
#include <cmath>

#include "stress/stress_state.h"

namespace analysis {

/// A square raster over the net: pixel (i, j), i to the right and j
/// downward, has its centre at x = left + (i + 0.5) step,
/// y = top - (j + 0.5) step.
struct NetRaster {
  int width = 0;
  int height = 0;
  double left = 0.0;
  double top = 0.0;
  double step = 0.0;

  double X(int i) const { return left + (i + 0.5) * step; }
  double Y(int j) const { return top - (j + 0.5) * step; }
};

/// The downward unit vector that plots at net point (x, y), x^2 + y^2 <= 1:
/// the inverse of the equal-area projection, exact up to rounding (no angle
/// is formed).
inline stress::Vector3 NetPointAxis(double x, double y) {
  // A line plunging p plots at radius r = sqrt(1 - sin p): sin p = 1 - r^2 and
  // cos p = r sqrt(2 - r^2), so the horizontal part is (x, y) sqrt(2 - r^2).
  const double r2 = x * x + y * y;
  const double k = std::sqrt(std::max(0.0, 2.0 - r2));
  return {x * k, y * k, -(1.0 - r2)};
}

}  // namespace analysis
