#include "figures/odds_curves.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "figures/figure_style.h"
#include "geometry/steps.h"

namespace figures {
namespace {

/// Points drawn per curve at most: a step curve of 10,000 realizations is
/// drawn through every 25th.
constexpr std::size_t kCurvePoints = 400;

}  // namespace

OddsCurve OddsCurveOf(const QString& label, QRgb colour, std::vector<double> pressures) {
  pressures.erase(
      std::remove_if(pressures.begin(), pressures.end(), [](double v) { return std::isnan(v); }),
      pressures.end());
  std::sort(pressures.begin(), pressures.end());
  return {label, colour, std::move(pressures)};
}

QRgb CurveColour(int k) {
  static constexpr QRgb kTableau[10] = {0x4E79A7, 0xF28E2B, 0xE15759, 0x76B7B2, 0x59A14F,
                                        0xEDC948, 0xB07AA1, 0xFF9DA7, 0x9C755F, 0xBAB0AC};
  return kTableau[((k % 10) + 10) % 10] | 0xFF000000u;
}

void PaintOddsCurves(QPainter& painter, const QRectF& box, const std::vector<OddsCurve>& curves,
                     const QString& unit, const text::Separators& separators) {
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const QFont font = LabelFont();
  const QFontMetricsF metrics(font, painter.device());
  painter.save();
  painter.setFont(font);
  painter.setRenderHint(QPainter::Antialiasing, true);

  // The range of x over every curve, widened to whole steps.
  double low = 0.0;
  double high = 1.0;
  bool any = false;
  for (const OddsCurve& c : curves) {
    if (c.pressures.empty())
      continue;
    low = any ? std::min(low, c.pressures.front()) : c.pressures.front();
    high = any ? std::max(high, c.pressures.back()) : c.pressures.back();
    any = true;
  }
  if (!(high > low)) {
    low -= 1.0;
    high += 1.0;
  }
  const double step = geometry::RoundStepAtLeast((high - low) / 6.0);
  low = std::floor(low / step) * step;
  high = std::ceil(high / step) * step;
  const int decimals = geometry::DecimalsOfStep(step);

  const QString xTitle = unit.isEmpty() ? QStringLiteral("Pore pressure increase")
                                        : QStringLiteral("Pore pressure increase (%1)").arg(unit);
  const QString yTitle = QStringLiteral("Probability of slip");
  const double labelWidth = metrics.horizontalAdvance(QStringLiteral("0.0"));
  const QRectF plot = box.adjusted(
      metrics.height() * 1.6 + labelWidth + 6.0 * pixel, metrics.height() * 0.6,
      -metrics.horizontalAdvance(QStringLiteral("00")), -2.6 * metrics.height() - 4.0 * pixel);
  const auto at = [&](double x, double y) {
    return QPointF(plot.left() + (x - low) / (high - low) * plot.width(),
                   plot.bottom() - y * plot.height());
  };

  // Grid, ticks and their labels.
  for (int k = 0; k <= 5; ++k) {
    const double y = k / 5.0;
    const QPointF p = at(low, y);
    painter.setPen(QPen(kGridColour, pixel));
    painter.drawLine(p, QPointF(plot.right(), p.y()));
    painter.setPen(Qt::black);
    const QString text = text::FormatNumber(y, 1, separators);
    painter.drawText(QPointF(plot.left() - 4.0 * pixel - metrics.horizontalAdvance(text),
                             p.y() + (metrics.ascent() - metrics.descent()) / 2.0),
                     text);
  }
  for (double x = low; x <= high + step * 1e-9; x += step) {
    const QPointF p = at(x, 0.0);
    painter.setPen(QPen(kGridColour, pixel));
    painter.drawLine(p, QPointF(p.x(), plot.top()));
    painter.setPen(Qt::black);
    const QString text =
        text::FormatNumber(std::fabs(x) < step * 1e-9 ? 0.0 : x, decimals, separators);
    painter.drawText(QPointF(p.x() - metrics.horizontalAdvance(text) / 2.0,
                             plot.bottom() + 4.0 * pixel + metrics.ascent()),
                     text);
  }
  painter.setPen(QPen(kAxisColour, pixel));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);

  // Axis titles.
  QFont bold = font;
  bold.setBold(true);
  painter.setFont(bold);
  const QFontMetricsF boldMetrics(bold, painter.device());
  painter.setPen(Qt::black);
  painter.drawText(QPointF(plot.center().x() - boldMetrics.horizontalAdvance(xTitle) / 2.0,
                           box.bottom() - boldMetrics.descent() - pixel),
                   xTitle);
  painter.save();
  painter.translate(box.left() + boldMetrics.ascent() + pixel, plot.center().y());
  painter.rotate(-90.0);
  painter.drawText(QPointF(-boldMetrics.horizontalAdvance(yTitle) / 2.0, 0.0), yTitle);
  painter.restore();
  painter.setFont(font);

  if (!any) {
    const QString note = QStringLiteral("Select planes in the Planes window to see their curves");
    painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, note);
  }

  // The curves, each a step function P(dPc <= x), cut at the plot.
  painter.setClipRect(plot.adjusted(-pixel, -pixel, pixel, pixel));
  for (const OddsCurve& c : curves) {
    const std::size_t n = c.pressures.size();
    if (n == 0)
      continue;
    const std::size_t stride = std::max<std::size_t>(1, n / kCurvePoints);
    QPainterPath path(at(low, 0.0));
    path.lineTo(at(c.pressures.front(), 0.0));
    for (std::size_t k = 0; k < n; k += stride) {
      const std::size_t last = std::min(n - 1, k + stride - 1);
      path.lineTo(at(c.pressures[last], static_cast<double>(last + 1) / static_cast<double>(n)));
    }
    path.lineTo(at(high, 1.0));
    painter.setPen(QPen(QColor::fromRgb(c.colour), 1.6 * pixel));
    painter.drawPath(path);
  }
  painter.setClipping(false);

  // The legend at the top left, inside the plot.
  double y = plot.top() + 4.0 * pixel;
  for (const OddsCurve& c : curves) {
    const double middle = y + metrics.height() / 2.0;
    painter.setPen(QPen(QColor::fromRgb(c.colour), 2.0 * pixel));
    painter.drawLine(QPointF(plot.left() + 6.0 * pixel, middle),
                     QPointF(plot.left() + 22.0 * pixel, middle));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(plot.left() + 26.0 * pixel, y + metrics.ascent()), c.label);
    y += metrics.height();
  }
  painter.restore();
}

}  // namespace figures
