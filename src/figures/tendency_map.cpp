#include "figures/tendency_map.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <limits>

#include "figures/figure_style.h"
#include "figures/plane_dots.h"
#include "geometry/steps.h"
#include "projection/contour_segments.h"

namespace figures {
namespace {

using engine::MapQuantity;

constexpr QRgb kUndefinedGrey = 0xFFC8C8C8u;
constexpr QRgb kHatchGrey = 0xFF9A9A9Au;
/// The contour labels' and the legend's point size.
constexpr int kMapLabelPoints = 7;

/// ColorBrewer's RdBu, reversed so that low values are red: a pore-pressure
/// increase below 0 means the plane is already past its limit.
constexpr QRgb kDivergingStops[11] = {0x67001f, 0xb2182b, 0xd6604d, 0xf4a582, 0xfddbc7, 0xf7f7f7,
                                      0xd1e5f0, 0x92c5de, 0x4393c3, 0x2166ac, 0x053061};

QRgb Diverging(double t) {
  t = std::clamp(t, 0.0, 1.0) * 10.0;
  const int i = std::min(9, static_cast<int>(t));
  const double f = t - i;
  const auto mix = [f](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
  const QRgb a = kDivergingStops[i];
  const QRgb b = kDivergingStops[i + 1];
  return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
}

QRgb ScaleColour(const MapScale& scale, double t) {
  return scale.diverging ? Diverging(t) : Viridis(t) | 0xFF000000u;
}

MapScale ScaleOf(MapQuantity quantity, const std::vector<float>& values) {
  MapScale scale;
  if (quantity == MapQuantity::kSlipTendency || quantity == MapQuantity::kDilationTendency)
    return scale;  // 0 to 1 by tenths
  double least = std::numeric_limits<double>::infinity();
  double most = -least;
  bool infinite = false;
  for (const float v : values) {
    if (std::isfinite(v)) {
      least = std::min(least, static_cast<double>(v));
      most = std::max(most, static_cast<double>(v));
    } else if (v == std::numeric_limits<float>::infinity()) {
      infinite = true;
    }
  }
  if (!(least <= most))
    least = most = 0.0;
  if (quantity == MapQuantity::kPorePressureToSlip) {
    // Centred on 0, the pressure at which a plane slips.
    // About five contours each side, the ends at the first round value past
    // the largest magnitude.
    const double reach = std::max(std::fabs(least), std::fabs(most));
    const double step = reach > 0.0 ? geometry::RoundStepAtLeast(reach / 5.0) : 0.2;
    const double top = step * std::max(1.0, std::ceil(reach / step - 1e-9));
    scale = {-top, top, step, 0, true, false};
  } else {
    // F from 0; its top at twice the smallest F (at least 2, at most the
    // largest F), so that the planes near failure take most of the colours.
    double top = geometry::RoundStepAtLeast(std::max(2.0, 2.0 * least));
    if (most > 0.0 && !infinite)
      top = std::min(top, geometry::RoundStepAtLeast(most));
    scale = {0.0, top, geometry::RoundStepAtLeast(top / 10.0), 0, false, infinite || most > top};
  }
  scale.decimals = geometry::DecimalsOfStep(scale.step);
  return scale;
}

QString NameOf(const MapRequest& request) {
  switch (request.quantity) {
    case MapQuantity::kSlipTendency:
      return QStringLiteral("Ts/Ts,max");
    case MapQuantity::kDilationTendency:
      return QStringLiteral("Td");
    case MapQuantity::kPorePressureToSlip:
      return request.unit.isEmpty() ? QStringLiteral("ΔPc")
                                    : QStringLiteral("ΔPc (%1)").arg(request.unit);
    case MapQuantity::kFactorOfSafety:
      return QStringLiteral("F");
    case MapQuantity::kNone:
      break;
  }
  return {};
}

/// Why a pixel of the map has no value, briefly: the legend stands in the
/// margin above a window's net.
QString UndefinedReason(const engine::PassResults& results, const MapRequest& request) {
  const double pp = results.porePressure;
  const std::optional<double>& phi = request.defaults.phi;
  const QString noFriction =
      phi.has_value() ? QStringLiteral("no value: φ ≥ 90°") : QStringLiteral("no value: φ missing");
  const bool hasLimit = phi.has_value() && std::fabs(*phi) < 90.0;
  switch (request.quantity) {
    case MapQuantity::kSlipTendency:
      if (!(results.values->s3 - pp > 0.0))
        return QStringLiteral("no value: s3′ ≤ 0");
      if (!(results.values->s1 > results.values->s3))
        return QStringLiteral("no value: s1′ = s3′");
      return QStringLiteral("no value where σ′ ≤ 0");
    case MapQuantity::kDilationTendency:
      return QStringLiteral("no value: s1 = s3");
    case MapQuantity::kPorePressureToSlip:
      if (!hasLimit)
        return noFriction;
      if (*phi == 0.0)
        return QStringLiteral("no value: φ = 0");
      return QStringLiteral("no value: c missing");
    case MapQuantity::kFactorOfSafety:
      if (!hasLimit)
        return noFriction;
      if (!request.defaults.cohesion.has_value())
        return QStringLiteral("no value: c missing");
      return QStringLiteral("no value where τ = 0");
    case MapQuantity::kNone:
      break;
  }
  return {};
}

/// Where to label a level: a point of its curve well inside the net, at
/// least kLabelsApart from every point in `taken` (labels and marks placed
/// before), the farthest from them up to twice that, then the nearest to the
/// middle radius. None when the curve has no such point.
constexpr double kLabelsApart = 0.16;
std::optional<QPointF> LabelPlace(const std::vector<QLineF>& segments,
                                  const std::vector<QPointF>& taken) {
  std::optional<QPointF> best;
  double bestScore = -std::numeric_limits<double>::infinity();
  const std::size_t stride = std::max<std::size_t>(1, segments.size() / 400);
  for (std::size_t k = 0; k < segments.size(); k += stride) {
    const QPointF p = segments[k].center();
    const double r = std::hypot(p.x(), p.y());
    if (r > 0.88)
      continue;
    double apart = 2.0 * kLabelsApart;
    for (const QPointF& q : taken)
      apart = std::min(apart, std::hypot(p.x() - q.x(), p.y() - q.y()));
    if (apart < kLabelsApart)
      continue;
    const double score = apart - 0.25 * std::fabs(r - 0.55);
    if (score > bestScore) {
      bestScore = score;
      best = p;
    }
  }
  return best;
}

}  // namespace

QFont MapFont() {
  QFont font = LabelFont();
  font.setPointSize(kMapLabelPoints);
  return font;
}

engine::MapGrid PlotGrid(int pixels, double range) {
  return {pixels, pixels, -range, range, 2.0 * range / pixels};
}

TendencyMap MakeTendencyMap(const engine::PassResults& results, const MapRequest& request,
                            const engine::MapGrid& grid, const text::Separators& separators,
                            double pixel, const RowRunner& run) {
  TendencyMap map;
  if (request.quantity == MapQuantity::kNone || !engine::CanAssessPlanes(results) ||
      grid.width <= 0 || grid.height <= 0)
    return map;
  map.quantity = request.quantity;
  map.grid = grid;
  map.pixel = pixel;
  map.name = NameOf(request);
  const engine::TendencyField field(results, request.defaults, request.quantity);
  map.values.resize(static_cast<std::size_t>(grid.width) * grid.height);
  const auto fill = [&](int first, int last) {
    engine::FillMapRows(field, grid, first, last, map.values.data());
  };
  if (run)
    run(grid.height, fill);
  else
    fill(0, grid.height);

  const MapScale scale = ScaleOf(request.quantity, map.values);
  map.scale = scale;
  map.lowText = text::FormatNumber(scale.low, scale.decimals, separators);
  map.highText = (scale.highOpen ? QStringLiteral("≥ ") : QString()) +
                 text::FormatNumber(scale.high, scale.decimals, separators);

  // The colours through a table of 256, the scale's resolution.
  std::array<QRgb, 256> table;
  for (int k = 0; k < 256; ++k)
    table[k] = ScaleColour(scale, k / 255.0);
  const double toIndex = 255.0 / (scale.high - scale.low);
  const int period = std::max(4, static_cast<int>(std::lround(6.0 * pixel)));
  map.image = QImage(grid.width, grid.height, QImage::Format_ARGB32_Premultiplied);
  bool anyUndefined = false;
  for (int j = 0; j < grid.height; ++j) {
    auto* line = reinterpret_cast<QRgb*>(map.image.scanLine(j));
    const float* row = map.values.data() + static_cast<std::ptrdiff_t>(j) * grid.width;
    const double y = grid.Y(j);
    for (int i = 0; i < grid.width; ++i) {
      const double x = grid.X(i);
      const float v = row[i];
      if (!(x * x + y * y <= 1.0)) {
        line[i] = 0;  // transparent beyond the net
      } else if (std::isnan(v)) {
        anyUndefined = true;
        line[i] = (i + j) % period < std::max(1, period / 4) ? kHatchGrey : kUndefinedGrey;
      } else {
        const double index = std::clamp((v - scale.low) * toIndex, 0.0, 255.0);
        line[i] = table[static_cast<int>(std::lround(index))];
      }
    }
  }
  if (anyUndefined)
    map.undefined = UndefinedReason(results, request);

  if (request.quantity == MapQuantity::kSlipTendency)
    map.maxSlipPoles = engine::MaxSlipTendencyPoles(results);

  // Contours through the pixel centres: sample (i, j) stands at (X(i), Y(j)).
  // Their labels keep clear of each other and of the marks.
  std::vector<QPointF> placed;
  if (map.maxSlipPoles)
    for (const engine::NetPoint& pole : *map.maxSlipPoles)
      placed.emplace_back(pole.x, pole.y);
  std::vector<float> levels;
  const int first = static_cast<int>(std::floor(scale.low / scale.step)) + 1;
  for (int k = first; k * scale.step < scale.high - 1e-9 * scale.step; ++k)
    levels.push_back(static_cast<float>(k * scale.step));
  std::vector<std::vector<projection::GridSegment>> cut;
  projection::AddContourSegments(map.values.data(), grid.width, grid.height, levels, cut);
  const auto net = [&grid](float gx, float gy) {
    return QPointF(grid.left + (gx + 0.5) * grid.step, grid.top - (gy + 0.5) * grid.step);
  };
  for (std::size_t k = 0; k < levels.size(); ++k) {
    ContourLevel level;
    level.value = (first + static_cast<int>(k)) * scale.step;
    level.label = text::FormatNumber(level.value, scale.decimals, separators);
    level.segments.reserve(cut[k].size());
    for (const projection::GridSegment& s : cut[k])
      level.segments.emplace_back(net(s.x0, s.y0), net(s.x1, s.y1));
    level.labelAt = LabelPlace(level.segments, placed);
    if (level.labelAt)
      placed.push_back(*level.labelAt);
    map.contours.push_back(std::move(level));
  }
  return map;
}

void PaintTendencyMap(QPainter& painter, const QRectF& plot, double range, const TendencyMap& map) {
  if (map.Empty())
    return;
  const double scale = plot.width() / (2.0 * range);
  const auto device = [&](double x, double y) {
    return QPointF(plot.center().x() + x * scale, plot.center().y() - y * scale);
  };
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  painter.save();
  const engine::MapGrid& grid = map.grid;
  const QRectF imageRect(device(grid.left, grid.top), device(grid.left + grid.width * grid.step,
                                                             grid.top - grid.height * grid.step));
  painter.drawImage(imageRect, map.image);

  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(QColor(0, 0, 0, 140), 0.8 * pixel));
  std::vector<QLineF> lines;
  for (const ContourLevel& level : map.contours) {
    lines.clear();
    lines.reserve(level.segments.size());
    for (const QLineF& s : level.segments)
      lines.emplace_back(device(s.x1(), s.y1()), device(s.x2(), s.y2()));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
  }

  // Labels with a white halo, so that they read over any colour. A path's
  // text is laid out at 96 dpi whatever the device: its font is scaled.
  const QFontMetricsF metrics(MapFont(), painter.device());
  QFont font = MapFont();
  font.setPointSizeF(kMapLabelPoints * painter.device()->logicalDpiY() / 96.0);
  const auto halo = [&](const QPointF& at, const QString& text) {
    QPainterPath path;
    path.addText(at, font, text);
    painter.strokePath(path, QPen(QColor(255, 255, 255, 220), 2.5 * pixel, Qt::SolidLine,
                                  Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, Qt::black);
  };
  for (const ContourLevel& level : map.contours) {
    if (!level.labelAt)
      continue;
    const QPointF c = device(level.labelAt->x(), level.labelAt->y());
    halo(QPointF(c.x() - metrics.horizontalAdvance(level.label) / 2.0,
                 c.y() + (metrics.ascent() - metrics.descent()) / 2.0),
         level.label);
  }
  if (map.maxSlipPoles) {
    // Each label on the side of its mark away from the other mark.
    const QString label = QStringLiteral("Ts max");
    const std::array<engine::NetPoint, 2>& poles = *map.maxSlipPoles;
    for (int k = 0; k < 2; ++k) {
      const QPointF c = device(poles[k].x, poles[k].y);
      const QPointF other = device(poles[1 - k].x, poles[1 - k].y);
      painter.setPen(QPen(Qt::black, 1.2 * pixel));
      painter.setBrush(Qt::white);
      painter.drawEllipse(c, 3.5 * pixel, 3.5 * pixel);
      const double width = metrics.horizontalAdvance(label);
      const double x = c.x() >= other.x() ? c.x() + 6.0 * pixel : c.x() - 6.0 * pixel - width;
      const double y = c.y() >= other.y() ? c.y() + 4.0 * pixel + metrics.ascent()
                                          : c.y() - 4.0 * pixel - metrics.descent();
      halo(QPointF(x, y), label);
    }
  }
  painter.restore();
}

double MapLegendHeight(const QPainter& painter) {
  const QFontMetricsF metrics(MapFont(), painter.device());
  return 2.0 * metrics.height() + 2.0 * PixelsOn(painter.device()->logicalDpiX());
}

void PaintMapLegend(QPainter& painter, const QRectF& box, const TendencyMap& map) {
  if (map.Empty())
    return;
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const QFont font = MapFont();
  const QFontMetricsF metrics(font, painter.device());
  const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
  painter.save();
  painter.setFont(font);
  painter.setPen(Qt::black);

  // First line: name, low end, bar, high end.
  double x = box.left();
  const double baseline = box.top() + metrics.ascent();
  const auto write = [&](const QString& text) {
    painter.drawText(QPointF(x, baseline), text);
    x += metrics.horizontalAdvance(text) + gap;
  };
  write(map.name);
  x += gap;
  write(map.lowText);
  const double barWidth =
      std::max(20.0 * pixel, box.right() - x - metrics.horizontalAdvance(map.highText) - gap);
  const QRectF bar(x, box.top() + 0.15 * metrics.height(), std::min(barWidth, 90.0 * pixel),
                   0.7 * metrics.height());
  QLinearGradient gradient(bar.topLeft(), bar.topRight());
  for (int k = 0; k <= 20; ++k)
    gradient.setColorAt(k / 20.0, QColor::fromRgb(ScaleColour(map.scale, k / 20.0)));
  painter.fillRect(bar, gradient);
  x = bar.right() + gap;
  write(map.highText);

  // Second line: why the grey area has no value.
  if (!map.undefined.isEmpty()) {
    const double top = box.top() + metrics.height() + pixel;
    const QRectF swatch(box.left(), top + 0.15 * metrics.height(), 0.9 * metrics.height(),
                        0.7 * metrics.height());
    painter.fillRect(swatch, QColor::fromRgb(kUndefinedGrey));
    painter.fillRect(swatch, QBrush(QColor::fromRgb(kHatchGrey), Qt::BDiagPattern));
    painter.drawText(QPointF(swatch.right() + gap, top + metrics.ascent()), map.undefined);
  }
  painter.restore();
}

}  // namespace figures
