#pragma once
// The axes of a Mohr diagram fitted to a plot: one scale for sigma and tau,
// ticks at round steps far enough apart for their labels. Sizes in the
// plot's pixels (y upward in stress units, as the diagram is drawn).

#include <functional>
#include <optional>

#include "analysis/mohr_geometry.h"

namespace geometry {

/// Fewest pixels between two ticks of an axis, where the plot is tall enough.
inline constexpr double kTickSpacing = 50.0;
/// Pixels kept between two tick labels of the sigma axis.
inline constexpr double kLabelGap = 12.0;
/// Pixels kept between two tick labels of the tau axis.
inline constexpr double kTauLabelGap = 4.0;
/// Pixels of the tau axis below tau = 0, so that marks on the sigma axis are whole.
inline constexpr double kBelowSigmaAxis = 8.0;

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
std::optional<MohrAxes> FitMohrAxes(const analysis::MohrExtent& extent, double width, double height,
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

}  // namespace geometry
