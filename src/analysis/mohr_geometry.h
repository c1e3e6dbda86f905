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
/// Fewest pixels between two ticks of an axis, where the plot is tall enough.
inline constexpr double kTickSpacing = 50.0;
/// Pixels kept between two tick labels of the sigma axis.
inline constexpr double kLabelGap = 12.0;
/// Pixels kept between two tick labels of the tau axis.
inline constexpr double kTauLabelGap = 4.0;
/// Pixels of the tau axis below tau = 0, so that marks on the sigma axis are whole.
inline constexpr double kBelowSigmaAxis = 8.0;
/// Most ticks an axis carries, whatever rounding does.
inline constexpr int kMaxTicks = 200;

/// 1, 2 or 5 times a power of ten, the smallest such at least `step` (> 0).
double NiceStep(double step);

/// The 1-2-5 step next below the 1-2-5 step `step`: 5 -> 2 -> 1 -> 0.5.
double SmallerStep(double step);

/// Decimals (0 to 18) that show every multiple of a 1-2-5 step exactly.
int StepDecimals(double step);

/// The multiples of `step` in [min, max], ascending; at most kMaxTicks.
std::vector<double> TickValues(double min, double max, double step);

/// The axes of a diagram drawn at the same scale on both axes in a plot of
/// width x height pixels: the largest scale at which the extent fits, with
/// kBelowSigmaAxis pixels kept under tau = 0; each axis then runs as far as
/// the plot reaches at that scale, sigma centred on the extent.
struct MohrAxes {
  double scale = 0.0;  ///< pixels per stress unit, both axes
  double sigmaMin = 0.0;
  double sigmaMax = 0.0;
  double tauMin = 0.0;
  double tauMax = 0.0;
  double step = 0.0;     ///< between ticks of the sigma axis (NiceStep of kTickSpacing pixels)
  double tauStep = 0.0;  ///< between ticks of the tau axis: `step`, or finer (WithTwoTicks)
};

/// The axes of `extent` in a plot of width x height pixels (each taken as at
/// least 1, the height after kBelowSigmaAxis). Ticks stand kTickSpacing
/// pixels apart at least, and at least `labelWidth` + kLabelGap, so that the
/// sigma axis's labels fit between them; both axes take that step. Empty when
/// the extent is beyond what doubles can scale (no finite scale or step).
std::optional<MohrAxes> FitMohrAxes(const MohrExtent& extent, double width, double height,
                                    double labelWidth = 0.0);

/// `axes` with each axis showing two ticks at least where its labels allow.
/// Where either shows fewer, both take the largest smaller 1-2-5 step that
/// gives each two, if the labels fit between its ticks: the sigma axis's side
/// by side (sigmaLabelWidth(step) + kLabelGap pixels apart, the widest label
/// at that step) and the tau axis's one above the other (`labelHeight` +
/// kTauLabelGap). Where no step does, the sigma axis keeps its step and the
/// tau axis takes the largest smaller step that gives it two ticks whose
/// labels fit, if any. Axes that show two ticks on each axis are returned as
/// they are.
MohrAxes WithTwoTicks(const MohrAxes& axes, const std::function<double(double)>& sigmaLabelWidth,
                      double labelHeight);

}  // namespace analysis
