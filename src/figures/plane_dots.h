#pragma once
// The planes of a set as dots on the net (their poles) and on the Mohr
// diagram (their effective normal and shear stress), coloured by a chosen
// quantity on the viridis scale. The dots are stamped into an image layer
// rather than drawn one by one: a set may hold hundreds of thousands.

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRgb>
#include <QString>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/plane_results.h"

class QPainter;

namespace figures {

/// Radius of a plane's dot, in pixels of a 96 dpi screen.
inline constexpr double kPlaneDotRadius = 2.0;

/// What colours the dots.
enum class DotQuantity {
  kNone,                    ///< one colour for all
  kNormalizedSlipTendency,  ///< Ts / Ts,max, 0 to 1 (the default)
  kDilationTendency,        ///< Td, 0 to 1
  kFactorOfSafety,          ///< F, from 0 to the largest finite value
  kPorePressureToSlip,      ///< dPc, from the smallest to the largest value
  kSlipProbability,         ///< P(slip) by Monte Carlo, 0 to 1 (not in a PlaneResult)
};

/// The quantity's key in a case file ("ts_normalized", "td", "f", "delta_pc",
/// "p_slip", "none"), and the quantity of a key (empty for an unknown one).
const char* DotQuantityKey(DotQuantity quantity);
std::optional<DotQuantity> DotQuantityOfKey(std::string_view key);

/// The quantity's name as a colour bar names it ("Ts/Ts,max").
QString DotQuantityName(DotQuantity quantity);

/// The value of `quantity` in `result` (NaN where it has none).
double DotValue(DotQuantity quantity, const engine::PlaneResult& result);

/// The range the colour scale spans for `quantity` over `results`: [0, 1]
/// for the tendencies, the finite values' range for the others (a single
/// value widened by 1 either side; [0, 1] without any).
struct DotRange {
  double low = 0.0;
  double high = 1.0;
};
DotRange RangeOf(DotQuantity quantity, const std::vector<engine::PlaneResult>& results);

/// The viridis colour at `t` in [0, 1] (clamped), interpolated in sRGB
/// between its eleven tenths.
QRgb Viridis(double t);

/// The colour of a dot of `value` on `range`: viridis, the top colour for
/// +infinity, grey for NaN; dark grey for every dot with kNone.
QRgb DotColour(DotQuantity quantity, double value, const DotRange& range);

/// The pixel offsets of a filled disc of `radius` pixels: those whose centres
/// lie within it.
std::vector<QPoint> DiscOffsets(double radius);

/// Stamps a filled disc of `radius` device pixels centred on each point
/// (image pixel coordinates) in its colour into `image`, which must be
/// Format_ARGB32_Premultiplied; later dots cover earlier ones. Points outside
/// the image are cut.
void StampDots(QImage& image, const std::vector<QPointF>& points, const std::vector<QRgb>& colours,
               double radius);

/// The same for points given by `pointOf(i)`, i from 0 to `colours.size()`,
/// so that no list of image positions need be built.
template <typename PointOf>
void StampDotsAt(QImage& image, const PointOf& pointOf, const std::vector<QRgb>& colours,
                 double radius) {
  const std::vector<QPoint> disc = DiscOffsets(radius);
  const int width = image.width();
  const int height = image.height();
  const qsizetype stride = image.bytesPerLine() / 4;
  auto* const pixels = reinterpret_cast<QRgb*>(image.bits());
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const QPointF p = pointOf(i);
    // Beyond the image by more than a disc (or not finite): nothing to stamp,
    // and no integer could hold the position.
    if (!(p.x() > -radius - 1.0 && p.x() < width + radius + 1.0 && p.y() > -radius - 1.0 &&
          p.y() < height + radius + 1.0))
      continue;
    const int cx = static_cast<int>(std::floor(p.x()));
    const int cy = static_cast<int>(std::floor(p.y()));
    const QRgb colour = colours[i] | 0xFF000000u;
    for (const QPoint& o : disc) {
      const int x = cx + o.x();
      const int y = cy + o.y();
      if (x >= 0 && y >= 0 && x < width && y < height)
        pixels[y * stride + x] = colour;
    }
  }
}

/// A point of the net for a dot: single precision is ample for a position
/// on screen or paper, and a set may hold a million of them.
struct DotPoint {
  float x = 0.0F;
  float y = 0.0F;
};

/// The pole of `plane` on the net (projection::PolePosition), in single precision.
DotPoint PoleDotOf(const engine::Plane& plane);

/// A plane set's dots as a figure draws them (the lists not owned; entry i of
/// each for plane i).
struct PlaneDots {
  const std::vector<DotPoint>* poles = nullptr;  ///< net coordinates
  const std::vector<engine::PlaneResult>* results = nullptr;
  const std::vector<QRgb>* colours = nullptr;

  bool Empty() const {
    return poles == nullptr || results == nullptr || colours == nullptr || colours->empty() ||
           poles->size() != colours->size() || results->size() != colours->size();
  }
};

/// Paints dots at `points` (device coordinates of `painter`) in their
/// `colours` over `plot`, cut at its edges, as one image of at most 300 dots
/// per inch, each dot kPlaneDotRadius pixels of a 96 dpi screen.
void PaintDotImage(QPainter& painter, const QRectF& plot, const std::vector<QPointF>& points,
                   const std::vector<QRgb>& colours);

/// A horizontal colour bar in `bar` (device units), low at the left: the
/// quantity's name and the low end's text before it, the high end's after.
void PaintColourBar(QPainter& painter, const QRectF& bar, DotQuantity quantity,
                    const QString& lowText, const QString& highText);

}  // namespace figures
