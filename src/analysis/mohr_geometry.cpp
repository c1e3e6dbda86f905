#include "analysis/mohr_geometry.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "numeric/extended_math.h"
#include "stress/joint_stresses.h"

namespace analysis {

using numeric::Extended;

std::array<MohrCircle, 3> MohrCircles(const stress::PrincipalValues& values) {
  // Halves in the extended type: (a + b) / 2 does not overflow before the rounding.
  const auto circle = [](Extended a, Extended b) {
    return MohrCircle{static_cast<double>((a + b) / 2.0), static_cast<double>((a - b) / 2.0)};
  };
  return {circle(values.s1, values.s3), circle(values.s1, values.s2), circle(values.s2, values.s3)};
}

std::vector<MohrPoint> HalfCircle(const MohrCircle& circle, int segments) {
  segments = std::max(segments, 1);
  std::vector<MohrPoint> points;
  points.reserve(static_cast<std::size_t>(segments) + 1);
  const Extended centre = circle.centre;
  const Extended radius = circle.radius;
  for (int i = 0; i <= segments; ++i) {
    // From pi (left end) down to 0 (right end).
    const Extended angle = numeric::kPi * (segments - i) / segments;
    MohrPoint p;
    p.sigma = static_cast<double>(centre + radius * std::cos(angle));
    p.tau = static_cast<double>(radius * std::sin(angle));
    points.push_back(p);
  }
  // The ends exactly on the axis, at the principal values' circle ends.
  points.front() = {static_cast<double>(centre - radius), 0.0};
  points.back() = {static_cast<double>(centre + radius), 0.0};
  return points;
}

AdmissibleRegion AdmissibleBoundary(const stress::PrincipalValues& values, int segments) {
  const std::array<MohrCircle, 3> circles = MohrCircles(values);
  AdmissibleRegion region;
  region.upper = HalfCircle(circles[0], segments);
  region.lower = HalfCircle(circles[2], segments);
  const std::vector<MohrPoint> right = HalfCircle(circles[1], segments);
  region.lower.insert(region.lower.end(), right.begin() + 1, right.end());
  return region;
}

std::vector<MohrPoint> LimitLine(double cohesion, double frictionDegrees, double sigmaMin,
                                 double sigmaMax) {
  const auto at = [&](double sigma) {
    return MohrPoint{sigma, stress::LimitingShearStress(sigma, cohesion, frictionDegrees)};
  };
  std::vector<MohrPoint> line;
  if (sigmaMin < 0.0) {
    line.push_back(at(sigmaMin));
    if (sigmaMax >= 0.0) {
      line.push_back({0.0, 0.0});
      line.push_back(at(0.0));
    }
  } else {
    line.push_back(at(sigmaMin));
  }
  if (sigmaMax > line.back().sigma || line.size() == 1)
    line.push_back(at(sigmaMax));
  return line;
}

std::vector<MohrPoint> ClampToTauBand(const std::vector<MohrPoint>& line, double low, double high) {
  std::vector<MohrPoint> out;
  // A crossing and the clamped end of its segment can be the same point.
  const auto add = [&out](const MohrPoint& p) {
    if (out.empty() || out.back().sigma != p.sigma || out.back().tau != p.tau)
      out.push_back(p);
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const MohrPoint& p = line[i];
    if (i > 0) {
      // Where the segment from the previous point crosses the band's edges,
      // in the order the segment meets them.
      const MohrPoint& q = line[i - 1];
      std::vector<Extended> crossings;
      for (const double edge : {low, high}) {
        if ((q.tau < edge && p.tau > edge) || (q.tau > edge && p.tau < edge))
          crossings.push_back((static_cast<Extended>(edge) - q.tau) /
                              (static_cast<Extended>(p.tau) - q.tau));
      }
      std::sort(crossings.begin(), crossings.end());
      for (const Extended t : crossings) {
        const Extended sigma = q.sigma + t * (static_cast<Extended>(p.sigma) - q.sigma);
        const Extended tau = q.tau + t * (static_cast<Extended>(p.tau) - q.tau);
        add({static_cast<double>(sigma), std::clamp(static_cast<double>(tau), low, high)});
      }
    }
    add({p.sigma, std::clamp(p.tau, low, high)});
  }
  return out;
}

MohrExtent DiagramExtent(const stress::PrincipalValues& values, std::optional<MohrPoint> extra,
                         double margin) {
  double low = values.s3;
  double high = values.s1;
  double top = MohrCircles(values)[0].radius;
  if (extra.has_value()) {
    low = std::min(low, extra->sigma);
    high = std::max(high, extra->sigma);
    top = std::max(top, extra->tau);
  }
  const Extended centre = (static_cast<Extended>(low) + high) / 2.0;
  Extended span = static_cast<Extended>(high) - low;
  const Extended size = std::max(std::fabs(low), std::fabs(high));
  if (span <= 1e-9 * size || span == 0.0)
    span = size > 0.0 ? size : 1.0;
  const Extended half = span / 2.0 + margin * span;
  MohrExtent extent;
  extent.sigmaMin = static_cast<double>(centre - half);
  extent.sigmaMax = static_cast<double>(centre + half);
  extent.tauMax =
      static_cast<double>(std::max(static_cast<Extended>(top), Extended{0}) + margin * span);
  return extent;
}

}  // namespace analysis
