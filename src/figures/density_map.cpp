#include "figures/density_map.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "figures/figure_style.h"
#include "figures/plane_dots.h"
#include "geometry/steps.h"
#include "projection/contour_segments.h"

namespace figures {
namespace {

/// The palest and darkest viridis of the bands: the palest stays visible on
/// white, the darkest leaves black dots and curves readable.
constexpr double kPalest = 0.95;
constexpr double kDarkest = 0.2;
/// The most contours a map draws.
constexpr int kMostLevels = 100;

QString MethodName(analysis::DensityMethod method) {
  switch (method) {
    case analysis::DensityMethod::kExponentialKamb:
      return QStringLiteral("Exponential Kamb density");
    case analysis::DensityMethod::kKamb:
      return QStringLiteral("Kamb density");
    case analysis::DensityMethod::kSchmidt:
      return QStringLiteral("Schmidt density (1 % area)");
  }
  return {};
}

}  // namespace

double DensityStep(double peak) {
  return peak > 0.0 ? geometry::RoundStepAtLeast(peak / 8.0) : 1.0;
}

DensityMap MakeDensityMap(const DensityRequest& request, const analysis::NetRaster& grid,
                          const text::Separators& separators, double pixel, const RowRunner& run) {
  DensityMap map;
  if (request.axes.empty() || grid.width <= 0 || grid.height <= 0)
    return map;
  const analysis::PoleDensity density(request.axes, request.method, request.k);
  map.grid = grid;
  map.pixel = pixel;
  const bool schmidt = request.method == analysis::DensityMethod::kSchmidt;
  map.name = MethodName(request.method);
  if (!schmidt)
    map.name +=
        QStringLiteral(" (k = %1)")
            .arg(text::FormatNumber(request.k, geometry::DecimalsOfStep(request.k), separators));
  map.unit = schmidt ? QStringLiteral("% of the poles per 1 % of area")
                     : QStringLiteral("σ above a uniform sample");
  map.values.resize(static_cast<std::size_t>(grid.width) * grid.height);
  const auto fill = [&](int first, int last) {
    analysis::FillDensityRows(density, grid, first, last, map.values.data());
  };
  if (run)
    run(grid.height, fill);
  else
    fill(0, grid.height);
  map.peak = analysis::FindDensityMaximum(density);

  const double step = request.step.value_or(DensityStep(map.peak.value));
  if (!(step > 0.0) || map.peak.value / step > kMostLevels)
    throw std::invalid_argument(
        QStringLiteral("A contour interval of %1 would draw more than %2 levels up to the peak %3.")
            .arg(text::FormatNumber(step, geometry::DecimalsOfStep(step), separators))
            .arg(kMostLevels)
            .arg(text::FormatNumber(map.peak.value, 1, separators))
            .toStdString());
  const int decimals = geometry::DecimalsOfStep(step);
  for (int k = 1; k * step < map.peak.value; ++k) {
    map.levels.push_back(k * step);
    map.levelTexts.push_back(text::FormatNumber(k * step, decimals, separators));
  }
  map.peakText = QStringLiteral("max %1 at %2/%3")
                     .arg(text::FormatNumber(map.peak.value, std::max(1, decimals), separators))
                     .arg(std::lround(map.peak.line.trend) % 360, 3, 10, QLatin1Char('0'))
                     .arg(std::lround(map.peak.line.plunge), 2, 10, QLatin1Char('0'));
  const std::size_t bands = map.levels.size();
  for (std::size_t k = 0; k < bands; ++k) {
    const double t = bands == 1 ? 0.5 : static_cast<double>(k) / static_cast<double>(bands - 1);
    map.bandColours.push_back(Viridis(kPalest + (kDarkest - kPalest) * t) | 0xFF000000u);
  }

  map.image = QImage(grid.width, grid.height, QImage::Format_ARGB32_Premultiplied);
  for (int j = 0; j < grid.height; ++j) {
    auto* line = reinterpret_cast<QRgb*>(map.image.scanLine(j));
    const float* row = map.values.data() + static_cast<std::ptrdiff_t>(j) * grid.width;
    for (int i = 0; i < grid.width; ++i) {
      const float v = row[i];
      // The band: the number of levels at or below the value.
      const auto band = static_cast<std::size_t>(
          std::upper_bound(map.levels.begin(), map.levels.end(), static_cast<double>(v)) -
          map.levels.begin());
      line[i] = std::isnan(v) || band == 0 ? 0u : map.bandColours[band - 1];
    }
  }

  std::vector<float> levels(map.levels.begin(), map.levels.end());
  std::vector<std::vector<projection::GridSegment>> cut;
  projection::AddContourSegments(map.values.data(), grid.width, grid.height, levels, cut);
  const auto net = [&grid](float gx, float gy) {
    return QPointF(grid.left + (gx + 0.5) * grid.step, grid.top - (gy + 0.5) * grid.step);
  };
  map.lines.resize(levels.size());
  for (std::size_t k = 0; k < levels.size(); ++k) {
    map.lines[k].reserve(cut[k].size());
    for (const projection::GridSegment& s : cut[k])
      map.lines[k].emplace_back(net(s.x0, s.y0), net(s.x1, s.y1));
  }
  return map;
}

void PaintDensityMap(QPainter& painter, const QRectF& plot, double range, const DensityMap& map) {
  if (map.Empty())
    return;
  const double scale = plot.width() / (2.0 * range);
  const auto device = [&](double x, double y) {
    return QPointF(plot.center().x() + x * scale, plot.center().y() - y * scale);
  };
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const analysis::NetRaster& grid = map.grid;
  painter.save();
  painter.drawImage(QRectF(device(grid.left, grid.top), device(grid.left + grid.width * grid.step,
                                                               grid.top - grid.height * grid.step)),
                    map.image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(QColor(0, 0, 0, 150), 0.7 * pixel));
  std::vector<QLineF> lines;
  for (const std::vector<QLineF>& level : map.lines) {
    lines.clear();
    for (const QLineF& s : level)
      lines.emplace_back(device(s.x1(), s.y1()), device(s.x2(), s.y2()));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
  }
  painter.restore();
}

void PaintDensityLegend(QPainter& painter, const QRectF& box, const DensityMap& map) {
  if (map.Empty())
    return;
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const QFont font = MapFont();
  const QFontMetricsF metrics(font, painter.device());
  const double gap = metrics.horizontalAdvance(QLatin1Char(' '));
  painter.save();
  painter.setFont(font);
  painter.setPen(Qt::black);
  // First line: the method, its units and the peak.
  painter.drawText(
      QPointF(box.left(), box.top() + metrics.ascent()),
      map.name + QStringLiteral(", ") + map.unit + QStringLiteral("; ") + map.peakText);
  // Second line: each band's swatch with its lower level.
  double x = box.left();
  const double top = box.top() + metrics.height() + pixel;
  for (std::size_t k = 0; k < map.levels.size(); ++k) {
    const QRectF swatch(x, top + 0.15 * metrics.height(), 1.2 * metrics.height(),
                        0.7 * metrics.height());
    painter.fillRect(swatch, QColor::fromRgb(map.bandColours[k]));
    painter.setPen(QPen(QColor(0, 0, 0, 150), 0.7 * pixel));
    painter.drawRect(swatch);
    painter.setPen(Qt::black);
    const QString label = QStringLiteral("≥ ") + map.levelTexts[k];
    painter.drawText(QPointF(swatch.right() + 0.5 * gap, top + metrics.ascent()), label);
    x = swatch.right() + 0.5 * gap + metrics.horizontalAdvance(label) + 1.5 * gap;
    if (x > box.right())
      break;
  }
  painter.restore();
}

}  // namespace figures
