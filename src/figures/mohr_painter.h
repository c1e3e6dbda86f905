#pragma once
// The Mohr diagram of a pass, painted onto any QPainter: normal stress sigma
// to the right, shear stress tau (magnitude) upward, compression positive,
// the same scale on both axes (geometry::FitMohrAxes, as the window's chart).
// It shows the three half-circles, the shaded admissible region, the marks
// of s1, s2 and s3 (green, red, blue crosses, labelled as the window labels
// them), and, when the joint's results were written, the joint's point and
// the dashed Mohr-Coulomb limit line. Axis titles and tick labels are those
// of the window's chart (figures/mohr_axes.h), in the user's number format.

#include <QRectF>
#include <optional>

#include "analysis/mohr_geometry.h"
#include "engine/pass_results.h"
#include "figures/plane_dots.h"
#include "geometry/axes_fit.h"
#include "text/number_text.h"

class QPainter;

namespace figures {

/// Where the diagram lies in a box, and the axes it shows there.
struct MohrFrame {
  QRectF plot;  ///< device units
  /// Empty before the principal values are known, or when they cannot be scaled.
  std::optional<geometry::MohrAxes> axes;
};

/// The frame of the diagram of `results` in `box` (device units of `painter`);
/// the tick labels' widths, hence the plot, depend on `separators`.
MohrFrame MohrFrameOf(const QPainter& painter, const QRectF& box,
                      const engine::PassResults& results, const text::Separators& separators);

/// Paints the diagram of `results` into `box`: an empty frame with its titles
/// before the principal values are known. Leaves the painter's state as it
/// found it. The axis titles name the stress unit `unit`, when given.
/// With `dots`, a plane set's (effective sigma, tau) are painted beneath the
/// circles.
void PaintMohr(QPainter& painter, const QRectF& box, const engine::PassResults& results,
               const text::Separators& separators, const QString& unit = {},
               const PlaneDots* dots = nullptr);

}  // namespace figures
