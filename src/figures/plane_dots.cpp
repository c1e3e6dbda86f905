#include "figures/plane_dots.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "figures/figure_style.h"
#include "numeric/extended_math.h"
#include "projection/equal_area.h"

namespace figures {
namespace {

// viridis at 0, 0.1, ..., 1.
constexpr std::array<QRgb, 11> kViridis = {0x440154, 0x482576, 0x414487, 0x35608D,
                                           0x2A788E, 0x21908C, 0x22A884, 0x43BF71,
                                           0x7AD151, 0xBBDF27, 0xFDE725};
constexpr QRgb kUndefinedColour = 0xFFB4B4B4;
constexpr QRgb kPlainColour = 0xFF404040;

}  // namespace

namespace {
struct QuantityKey {
  DotQuantity quantity;
  const char* key;
};
constexpr QuantityKey kQuantityKeys[] = {{DotQuantity::kNormalizedSlipTendency, "ts_normalized"},
                                         {DotQuantity::kDilationTendency, "td"},
                                         {DotQuantity::kFactorOfSafety, "f"},
                                         {DotQuantity::kPorePressureToSlip, "delta_pc"},
                                         {DotQuantity::kSlipProbability, "p_slip"},
                                         {DotQuantity::kNone, "none"}};
}  // namespace

const char* DotQuantityKey(DotQuantity quantity) {
  for (const QuantityKey& k : kQuantityKeys)
    if (k.quantity == quantity)
      return k.key;
  return "none";
}

std::optional<DotQuantity> DotQuantityOfKey(std::string_view key) {
  for (const QuantityKey& k : kQuantityKeys)
    if (key == k.key)
      return k.quantity;
  return std::nullopt;
}

QString DotQuantityName(DotQuantity quantity) {
  switch (quantity) {
    case DotQuantity::kNormalizedSlipTendency:
      return QStringLiteral("Ts/Ts,max");
    case DotQuantity::kDilationTendency:
      return QStringLiteral("Td");
    case DotQuantity::kFactorOfSafety:
      return QStringLiteral("F");
    case DotQuantity::kPorePressureToSlip:
      return QStringLiteral("\u0394Pc");
    case DotQuantity::kSlipProbability:
      return QStringLiteral("P(slip)");
    case DotQuantity::kNone:
      break;
  }
  return QString();
}

double DotValue(DotQuantity quantity, const engine::PlaneResult& r) {
  switch (quantity) {
    case DotQuantity::kNormalizedSlipTendency:
      return r.tsNormalized;
    case DotQuantity::kDilationTendency:
      return r.td;
    case DotQuantity::kFactorOfSafety:
      return r.factorOfSafety;
    case DotQuantity::kPorePressureToSlip:
      return r.deltaPc;
    case DotQuantity::kSlipProbability:
    case DotQuantity::kNone:
      break;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

DotRange RangeOf(DotQuantity quantity, const std::vector<engine::PlaneResult>& results) {
  if (quantity == DotQuantity::kNone || quantity == DotQuantity::kNormalizedSlipTendency ||
      quantity == DotQuantity::kDilationTendency || quantity == DotQuantity::kSlipProbability)
    return {0.0, 1.0};
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (const engine::PlaneResult& r : results) {
    const double value = DotValue(quantity, r);
    if (std::isfinite(value)) {
      low = std::min(low, value);
      high = std::max(high, value);
    }
  }
  if (quantity == DotQuantity::kFactorOfSafety)
    low = 0.0;
  if (!(low <= high))
    return {0.0, 1.0};
  if (low == high)
    return {low - 1.0, high + 1.0};
  return {low, high};
}

QRgb Viridis(double t) {
  const double x = std::clamp(std::isnan(t) ? 0.0 : t, 0.0, 1.0) * 10.0;
  const int i = std::min(9, static_cast<int>(x));
  const double f = x - i;
  const QRgb a = kViridis[static_cast<std::size_t>(i)];
  const QRgb b = kViridis[static_cast<std::size_t>(i) + 1];
  const auto mix = [f](int p, int q) { return static_cast<int>(std::lround(p + (q - p) * f)); };
  return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
}

QRgb DotColour(DotQuantity quantity, double value, const DotRange& range) {
  if (quantity == DotQuantity::kNone)
    return kPlainColour;
  if (std::isnan(value))
    return kUndefinedColour;
  if (value == std::numeric_limits<double>::infinity())
    return Viridis(1.0);
  return Viridis((value - range.low) / (range.high - range.low));
}

DotPoint PoleDotOf(const engine::Plane& plane) {
  const projection::PolePoint pole =
      projection::PolePosition(static_cast<double>(numeric::DegreesToRadians(plane.dipDirection)),
                               static_cast<double>(numeric::DegreesToRadians(plane.dip)));
  return {static_cast<float>(pole.x), static_cast<float>(pole.y)};
}

std::vector<QPoint> DiscOffsets(double radius) {
  std::vector<QPoint> disc;
  const int reach = static_cast<int>(std::ceil(radius));
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx)
      if (dx * dx + dy * dy <= radius * radius + 0.25)
        disc.emplace_back(dx, dy);
  return disc;
}

void StampDots(QImage& image, const std::vector<QPointF>& points, const std::vector<QRgb>& colours,
               double radius) {
  StampDotsAt(
      image, [&points](std::size_t i) { return points[i]; }, colours, radius);
}

void PaintDotImage(QPainter& painter, const QRectF& plot, const std::vector<QPointF>& points,
                   const std::vector<QRgb>& colours) {
  constexpr double kImageDpi = 300.0;
  const double deviceDpi = painter.device()->logicalDpiX();
  const double toImage = std::min(1.0, kImageDpi / deviceDpi);
  QImage image(std::max(1, static_cast<int>(std::ceil(plot.width() * toImage))),
               std::max(1, static_cast<int>(std::ceil(plot.height() * toImage))),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  std::vector<QPointF> pixels(points.size());
  for (std::size_t i = 0; i < points.size(); ++i)
    pixels[i] = (points[i] - plot.topLeft()) * toImage;
  StampDots(image, pixels, colours, kPlaneDotRadius * deviceDpi / 96.0 * toImage);
  painter.drawImage(QRectF(plot.topLeft(), QSizeF(image.width(), image.height()) / toImage), image);
}

void PaintColourBar(QPainter& painter, const QRectF& bar, DotQuantity quantity,
                    const QString& lowText, const QString& highText) {
  QLinearGradient gradient(bar.topLeft(), bar.topRight());
  for (int i = 0; i <= 10; ++i)
    gradient.setColorAt(i / 10.0, QColor::fromRgb(Viridis(i / 10.0)));
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(gradient);
  painter.drawRect(bar);
  painter.setFont(LabelFont());
  painter.setPen(Qt::black);
  const QFontMetricsF metrics(LabelFont(), painter.device());
  const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
  const double baseline = bar.center().y() + (metrics.ascent() - metrics.descent()) / 2.0;
  const QString left = DotQuantityName(quantity) + QStringLiteral("  ") + lowText;
  painter.drawText(QPointF(bar.left() - gap - metrics.horizontalAdvance(left), baseline), left);
  painter.drawText(QPointF(bar.right() + gap, baseline), highText);
  painter.restore();
}

}  // namespace figures
