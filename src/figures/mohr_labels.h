#pragma once
// Where the Mohr diagram puts its marks' labels, for the window's chart and
// the painted figure alike: each label beside its mark, clear of the other
// labels, of the marks' crosses, of the circles and of the limit line, and
// inside the plot (geometry::PlaceLabels).

#include <QFontMetricsF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "analysis/mohr_geometry.h"
#include "engine/mohr_diagram.h"
#include "geometry/axes_fit.h"

namespace figures {

/// Stress coordinates (sigma, tau) to device units of a plot that shows `axes`.
class MohrMap {
 public:
  MohrMap(const QRectF& plot, const geometry::MohrAxes& axes) : plot_(plot), axes_(axes) {}
  QPointF operator()(double sigma, double tau) const {
    const double x = (sigma - axes_.sigmaMin) / (axes_.sigmaMax - axes_.sigmaMin);
    const double y = (tau - axes_.tauMin) / (axes_.tauMax - axes_.tauMin);
    return {plot_.left() + x * plot_.width(), plot_.bottom() - y * plot_.height()};
  }

 private:
  QRectF plot_;
  geometry::MohrAxes axes_;
};

struct MohrLabel {
  QString text;
  QRectF box;  ///< the text's advance by its ascent plus descent, device units
};

/// The labels of the marks of `diagram` in a plot `plot` (device units, `pixel`
/// of them per pixel) that shows `axes`, their texts measured by `metrics`:
/// s1, s2 and s3 as MarkLabels names them (a repeated value once), then the
/// joint's when the diagram has its point. Every box lies inside the plot,
/// a pixel from its edge.
std::vector<MohrLabel> PlaceMohrLabels(const engine::MohrDiagram& diagram,
                                       const geometry::MohrAxes& axes, const QRectF& plot,
                                       const QFontMetricsF& metrics, double pixel);

}  // namespace figures
