#pragma once
// The Mohr diagram of a stress state in the (sigma, tau) plane.
// Conventions: see stress/stress_state.h. sigma is the normal stress on a
// plane (compression positive), tau the magnitude of the shear stress on it
// (tau >= 0), so every diagram lies in the upper half-plane. Both in the
// user's stress unit; friction angles in degrees.
// The stress on every plane through the point lies inside the circle of
// (s1, s3) and outside those of (s1, s2) and (s2, s3): that is the
// admissible region.

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "stress/stress_state.h"

namespace analysis {

/// A point of the diagram.
struct MohrPoint {
  double sigma = 0.0;
  double tau = 0.0;
};

/// The circle through the principal values a >= b on the sigma axis:
/// centre (a + b) / 2, radius (a - b) / 2 >= 0. A repeated value gives a
/// circle of radius 0, a point.
struct MohrCircle {
  double centre = 0.0;
  double radius = 0.0;
};

/// The circles of (s1, s3), (s1, s2) and (s2, s3), in this order, of sorted
/// values s1 >= s2 >= s3.
std::array<MohrCircle, 3> MohrCircles(const stress::PrincipalValues& values);

/// The upper half of `circle` as segments + 1 points (segments >= 1), from
/// sigma = centre - radius through the top to centre + radius, at equal
/// angles; the ends lie exactly on the sigma axis.
std::vector<MohrPoint> HalfCircle(const MohrCircle& circle, int segments);

/// The admissible region as two polylines over the same sigma range [s3, s1],
/// both running from left to right: `upper` is the half-circle of (s1, s3),
/// `lower` the half-circles of (s2, s3) and then (s1, s2). The region is the
/// polygon `upper` followed by `lower` reversed; it has no area when two
/// values are equal.
struct AdmissibleRegion {
  std::vector<MohrPoint> upper;
  std::vector<MohrPoint> lower;
};
AdmissibleRegion AdmissibleBoundary(const stress::PrincipalValues& values, int segments);

/// The Mohr-Coulomb limit tauLim(sigma) over [sigmaMin, sigmaMax] (sigmaMin <=
/// sigmaMax) as a polyline from left to right: 0 for sigma < 0, and
/// c + sigma tan(phi) for sigma >= 0, each vertex computed by
/// stress::LimitingShearStress, so that the line passes exactly through the
/// joint's (sigma, tauLim). Where the range holds sigma = 0 the line rises
/// there from 0 to c, the tension cut-off. Throws as LimitingShearStress does;
/// a friction angle that gave joint results never throws.
std::vector<MohrPoint> LimitLine(double cohesion, double frictionDegrees, double sigmaMin,
                                 double sigmaMax);

/// `line` with every point kept within the band low <= tau <= high: a
/// segment that crosses the band's edge is cut there, and a stretch outside
/// it runs along the edge instead. Inside the band the polyline is the same;
/// a band wider than the view by a margin hides the edge runs. A view hands
/// this to its renderer, which then never strokes a line far longer than the
/// view (a limit line at 89.99 degrees would be 1e5 views long).
std::vector<MohrPoint> ClampToTauBand(const std::vector<MohrPoint>& line, double low, double high);

/// The part of the plane a diagram must show.
struct MohrExtent {
  double sigmaMin = 0.0;
  double sigmaMax = 0.0;
  double tauMax = 0.0;
};

/// The extent of the circles and of the point `extra` (the joint's), with a
/// margin of `margin` (a fraction) of the sigma span on each side and above.
/// A span below 1e-9 of the largest magnitude (a hydrostatic state) is widened
/// about its centre to that magnitude, or to 1 for a zero state, so that every
/// extent has sigmaMin < sigmaMax and tauMax > 0.
MohrExtent DiagramExtent(const stress::PrincipalValues& values, std::optional<MohrPoint> extra,
                         double margin);

/// Margin of a drawn diagram around its circles and point, a fraction of the
/// sigma span (DiagramExtent's `margin`).
inline constexpr double kDiagramMargin = 0.08;
}  // namespace analysis
