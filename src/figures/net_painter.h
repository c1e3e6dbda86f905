#pragma once
// The lower-hemisphere equal-area net of a pass, painted onto any QPainter:
// the primitive circle, the planes of s1, s2 and s3 (green, red, blue), the
// joint's plane (black) when the pass drew one, each plane's pole as a cross
// labelled "s1", "s2", "s3" or "joint", the value axes every half unit with
// their grid, and the names "Y (North)" at the top and "X" at the right.
// Net coordinates x East (right), y North (up); the points are those the
// projection gives for the results' planes (projection/equal_area.h).

#include <QRectF>
#include <array>

#include "engine/pass_results.h"
#include "figures/density_map.h"
#include "figures/plane_dots.h"
#include "figures/tendency_map.h"
#include "projection/point_series.h"
#include "text/number_text.h"

class QPainter;

namespace figures {

/// The net's points of a pass, as the window's chart holds them.
struct NetPoints {
  projection::PointList circle;
  /// Empty unless the pass read the joint's plane.
  projection::PointList joint;
  /// Plane of s1, s2, s3; empty from the first axis the pass did not find.
  std::array<projection::PointList, 3> planes;
  /// The poles by ascending x: joint first, then s1, s2, s3, as drawn.
  projection::PointList poles{projection::PointOrder::AscendingX};
};

/// The points of the net of `results`. Throws numeric::FloatingPointError as
/// projection::PlotPlane does (never for the planes of a pass that found them).
NetPoints NetPointsOf(const engine::PassResults& results);

/// Where the net lies in `box` (device units of `painter`): the square plot
/// of -kNetRange..kNetRange on both axes.
QRectF NetPlot(const QPainter& painter, const QRectF& box);

/// Paints the net of `results` into `box`; value labels with `separators`.
/// Leaves the painter's state as it found it.
/// With `dots`, a plane set's poles are painted beneath the curves; with
/// `map`, a tendency map beneath the dots, and with `density` a pole density
/// above the map and beneath the dots (their legends are the caller's).
void PaintNet(QPainter& painter, const QRectF& box, const engine::PassResults& results,
              const text::Separators& separators, const PlaneDots* dots = nullptr,
              const TendencyMap* map = nullptr, const DensityMap* density = nullptr);

/// The grid of a map over the net painted into `box` by `painter`: the
/// device's resolution up to 300 pixels per inch; and device units per 96
/// dpi pixel of that grid.
analysis::NetRaster NetMapGrid(const QPainter& painter, const QRectF& box, double* pixel);

/// The map of `request` for a net painted into `box` by `painter`, at the
/// device's resolution up to 300 pixels per inch.
TendencyMap NetMapFor(const QPainter& painter, const QRectF& box,
                      const engine::PassResults& results, const MapRequest& request,
                      const text::Separators& separators);

}  // namespace figures
