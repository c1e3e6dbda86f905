#pragma once
// The pole density of a set of axes as a figure draws it on the net: filled
// contours (the bands between round levels, light to dark as the density
// rises; nothing below the first level), their boundary lines, and a legend
// that names the method and its units. It lies beneath the plane dots and the
// net's curves. Net coordinates x East, y North; distances in pixels of a 96
// dpi screen, scaled by `pixel` (device units per such pixel).

#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "analysis/net_raster.h"
#include "analysis/orientation_statistics.h"
#include "analysis/pole_density.h"
#include "figures/tendency_map.h"
#include "text/number_text.h"

class QPainter;

namespace figures {

/// What to contour.
struct DensityRequest {
  std::vector<analysis::WeightedAxis> axes;
  analysis::DensityMethod method = analysis::DensityMethod::kExponentialKamb;
  double k = 3.0;
  /// The contour interval; empty: a round one, about an eighth of the peak.
  std::optional<double> step;
};

struct DensityMap {
  analysis::NetRaster grid;
  std::vector<float> values;  ///< grid.width x grid.height, row after row
  /// The contours, ascending: multiples of the interval below the peak.
  std::vector<double> levels;
  std::vector<QString> levelTexts;
  /// The fill of each band [levels[k], levels[k + 1]) (the last open above).
  std::vector<QRgb> bandColours;
  QImage image;  ///< the bands; transparent below the first level and beyond the net
  std::vector<std::vector<QLineF>> lines;  ///< each level's curve, net coordinates
  QString name;                            ///< "Exponential Kamb density (k = 3)"
  QString unit;                            ///< "σ above uniform", "% per 1 % of area"
  analysis::DensityPeak peak;
  QString peakText;  ///< "max 12.3 at 120/35"
  double pixel = 1.0;

  bool Empty() const { return image.isNull(); }
};

/// The interval of round contours for a peak of `peak`: the smallest of 1,
/// 2, 2.5, 5 times a power of ten that is at least peak / 8; 1 for a peak
/// of 0 or below.
double DensityStep(double peak);

/// The map of `request` over `grid`; empty without axes. Rows through `run`
/// (default: here, at once). Throws std::invalid_argument for an interval
/// that would give more than 100 levels below the peak.
DensityMap MakeDensityMap(const DensityRequest& request, const analysis::NetRaster& grid,
                          const text::Separators& separators, double pixel,
                          const RowRunner& run = {});

/// Paints the bands and their lines into `plot`, the device rectangle of the
/// net from -range to range on both axes.
void PaintDensityMap(QPainter& painter, const QRectF& plot, double range, const DensityMap& map);

/// The legend in `box`: the method, its units and the peak, then a swatch
/// of each band with its lower level; two lines, as a tendency map's legend
/// (MapLegendHeight).
void PaintDensityLegend(QPainter& painter, const QRectF& box, const DensityMap& map);

}  // namespace figures
