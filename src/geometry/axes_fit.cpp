#include "geometry/axes_fit.h"

#include <algorithm>
#include <cmath>

#include "geometry/steps.h"

namespace geometry {

std::optional<MohrAxes> FitMohrAxes(const analysis::MohrExtent& extent, double width, double height,
                                    double labelWidth) {
  const double span = extent.sigmaMax - extent.sigmaMin;
  const double centre = extent.sigmaMin / 2.0 + extent.sigmaMax / 2.0;
  width = std::max(width, 1.0);
  height = std::max(height - kBelowSigmaAxis, 1.0);
  const double scale = std::min(width / span, height / extent.tauMax);
  // Ticks kTickSpacing pixels apart, or wider where the sigma labels need it.
  const double step = NiceStep(std::max(labelWidth + kLabelGap, kTickSpacing) / scale);
  if (!std::isfinite(scale) || !(step > 0.0) || !std::isfinite(step))
    return std::nullopt;
  MohrAxes axes;
  axes.scale = scale;
  axes.sigmaMin = centre - width / (2.0 * scale);
  axes.sigmaMax = centre + width / (2.0 * scale);
  axes.tauMin = -kBelowSigmaAxis / scale;
  axes.tauMax = height / scale;
  axes.step = step;
  axes.tauStep = step;
  return axes;
}

MohrAxes WithTwoTicks(const MohrAxes& axes, const std::function<double(double)>& sigmaLabelWidth,
                      double labelHeight) {
  const auto sigmaTwo = [&axes](double s) {
    return TickValues(axes.sigmaMin, axes.sigmaMax, s).size() >= 2;
  };
  const auto tauTwo = [&axes](double s) {
    return TickValues(axes.tauMin, axes.tauMax, s).size() >= 2;
  };
  // Whether the labels fit between ticks `s` apart: sigma's side by side,
  // tau's one above the other.
  const auto sigmaFits = [&](double s) { return s * axes.scale >= sigmaLabelWidth(s) + kLabelGap; };
  const auto tauFits = [&](double s) { return s * axes.scale >= labelHeight + kTauLabelGap; };
  if (sigmaTwo(axes.step) && tauTwo(axes.tauStep))
    return axes;
  MohrAxes fitted = axes;
  // Finer steps while the tau labels fit; the sigma labels' width depends on
  // the step (its decimals), so it is asked at each.
  for (double s = SmallerStep(axes.step); tauFits(s); s = SmallerStep(s)) {
    if (sigmaTwo(s) && tauTwo(s) && sigmaFits(s)) {
      fitted.step = s;
      fitted.tauStep = s;
      return fitted;
    }
  }
  if (!tauTwo(axes.tauStep)) {
    for (double s = SmallerStep(axes.tauStep); tauFits(s); s = SmallerStep(s)) {
      if (tauTwo(s)) {
        fitted.tauStep = s;
        break;
      }
    }
  }
  return fitted;
}

}  // namespace geometry
