#pragma once
// A tendency map as a figure draws it: the colours of every pixel of the net
// (engine/tendency_map.h: each the exact value at the pixel's centre), the
// contour lines at round values with their labels, the poles of the planes of
// largest slip tendency, and the legend. The same map is painted on the
// window's net, the report and exported figures; it lies beneath everything
// else the net shows. Net coordinates x East, y North; distances in pixels of
// a 96 dpi screen, scaled by `pixel` (device units per such pixel).

#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "engine/tendency_map.h"
#include "text/number_text.h"

class QPainter;

namespace figures {

/// What to map, and with what the planes are assessed.
struct MapRequest {
  engine::MapQuantity quantity = engine::MapQuantity::kNone;
  engine::PlaneDefaults defaults;
  QString unit;  ///< the stress unit, for the pore-pressure legend; may be empty
};

/// The colours: a value from `low` to `high` spans the scale, those beyond
/// take its end colours; contours stand at the multiples of `step` strictly
/// inside the range, labelled with `decimals` decimals.
struct MapScale {
  double low = 0.0;
  double high = 1.0;
  double step = 0.1;
  int decimals = 1;
  bool diverging = false;  ///< blue-white-red centred on 0, else viridis
  bool highOpen = false;   ///< some values lie above `high`
};

struct ContourLevel {
  double value = 0.0;
  QString label;
  std::vector<QLineF> segments;  ///< net coordinates
  std::optional<QPointF> labelAt;
};

struct TendencyMap {
  engine::MapQuantity quantity = engine::MapQuantity::kNone;
  engine::MapGrid grid;
  std::vector<float> values;  ///< grid.width x grid.height, row after row
  QImage image;               ///< the colours of `values`; transparent outside the net
  MapScale scale;
  QString name;     ///< "Ts/Ts,max", "Td", "ΔPc (MPa)", "F"
  QString lowText;  ///< the legend's ends, in the user's number format
  QString highText;
  QString undefined;  ///< why the grey area has no value; empty when there is none
  std::vector<ContourLevel> contours;
  /// The poles of the planes of largest slip tendency (slip tendency map, s3' > 0).
  std::optional<std::array<engine::NetPoint, 2>> maxSlipPoles;
  double pixel = 1.0;  ///< the device units per 96 dpi pixel it was made for

  bool Empty() const { return quantity == engine::MapQuantity::kNone || image.isNull(); }
};

/// Runs `work(first, last)` over row shares of [0, rows) and returns when all
/// are done; the default runs it once here.
using RowRunner = std::function<void(int rows, const std::function<void(int, int)>& work)>;

/// The grid of `pixels` x `pixels` square pixels over the net's plot, from
/// -range to range on both axes.
engine::MapGrid PlotGrid(int pixels, double range);

/// The map of `request` under `results` over `grid`; empty (Empty()) for
/// kNone or when the pass found no axes. Labels in `separators`' format.
TendencyMap MakeTendencyMap(const engine::PassResults& results, const MapRequest& request,
                            const engine::MapGrid& grid, const text::Separators& separators,
                            double pixel, const RowRunner& run = {});

/// Paints `map` (image, contours, labels, marks) into `plot`, the device
/// rectangle of the net from -range to range on both axes.
void PaintTendencyMap(QPainter& painter, const QRectF& plot, double range, const TendencyMap& map);

/// The font of a map's labels and legend (and the pole density's).
QFont MapFont();

/// The legend in `box`: the quantity's name, the colour bar between its
/// ends and, when part of the net has no value, a grey swatch saying why.
/// The height it needs at `pixel`: MapLegendHeight.
void PaintMapLegend(QPainter& painter, const QRectF& box, const TendencyMap& map);
double MapLegendHeight(const QPainter& painter);

}  // namespace figures
