#include "figures/rose_painter.h"

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

constexpr double kPi = 3.14159265358979323846;
const QColor kPetalColour(70, 110, 170);
const QColor kPetalEdge(30, 50, 90);

/// The device point at `radius` from `centre` towards `azimuth` (degrees
/// clockwise from North, North up).
QPointF Towards(const QPointF& centre, double radius, double azimuth) {
  const double a = azimuth * kPi / 180.0;
  return {centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a)};
}

}  // namespace

std::vector<int> RoseRings(int largest) {
  std::vector<int> rings;
  if (largest <= 0)
    return rings;
  double step = std::max(1.0, geometry::RoundStepAtLeast(largest / 4.0));
  if (step != std::round(step))
    step *= 2.0;  // 2.5 times a power of ten below 10 is no count: 5
  const int whole = static_cast<int>(std::lround(step));
  for (int count = whole; count <= largest; count += whole)
    rings.push_back(count);
  return rings;
}

RoseCircle RoseCircleIn(const QPainter& painter, const QRectF& box) {
  // Above the caption's two lines, and within the direction names.
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const QFontMetricsF metrics(LabelFont(), painter.device());
  const double caption = 2.0 * metrics.height() + 4.0 * pixel;
  const double nameRoom = metrics.height() + 4.0 * pixel;
  const double radius =
      std::max(1.0, std::min(box.width() / 2.0, (box.height() - caption) / 2.0) - nameRoom);
  return {QPointF(box.center().x(), box.top() + nameRoom + radius), radius};
}

void PaintRose(QPainter& painter, const QRectF& box, const analysis::RoseDiagram& rose,
               const QString& what, int planes, const text::Separators& separators) {
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const QFont font = LabelFont();
  const QFontMetricsF metrics(font, painter.device());
  painter.save();
  painter.setFont(font);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const RoseCircle circle = RoseCircleIn(painter, box);
  const QPointF centre = circle.centre;
  const double radius = circle.radius;
  const double nameRoom = metrics.height() + 4.0 * pixel;
  const int largest = rose.LargestCount();
  const auto ringRadius = [&](int count) {
    const double share = largest > 0 ? static_cast<double>(count) / largest : 0.0;
    return radius * (rose.areaTrue ? std::sqrt(share) : share);
  };

  // Rings and the four directions' lines, beneath the petals.
  painter.setPen(QPen(kGridColour, pixel));
  painter.setBrush(Qt::NoBrush);
  const std::vector<int> rings = RoseRings(largest);
  for (const int count : rings)
    painter.drawEllipse(centre, ringRadius(count), ringRadius(count));
  for (int k = 0; k < 4; ++k)
    painter.drawLine(centre, Towards(centre, radius, 90.0 * k));

  // The petals.
  painter.setPen(QPen(kPetalEdge, 0.7 * pixel));
  painter.setBrush(kPetalColour);
  for (std::size_t bin = 0; bin < rose.counts.size(); ++bin) {
    if (rose.counts[bin] == 0)
      continue;
    const double r = radius * rose.Radius(bin);
    const double from = bin * rose.binWidth;
    QPainterPath petal(centre);
    // Qt's arcs run counter-clockwise from 3 o'clock; azimuths clockwise from 12.
    petal.arcTo(QRectF(centre.x() - r, centre.y() - r, 2.0 * r, 2.0 * r), 90.0 - from,
                -rose.binWidth);
    petal.closeSubpath();
    painter.drawPath(petal);
  }

  // The frame and the direction names.
  painter.setPen(QPen(kAxisColour, pixel));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, radius, radius);
  painter.setPen(Qt::black);
  const QString names[4] = {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("S"),
                            QStringLiteral("W")};
  for (int k = 0; k < 4; ++k) {
    const QPointF at = Towards(centre, radius + 2.0 * pixel + metrics.height() / 2.0, 90.0 * k);
    painter.drawText(QPointF(at.x() - metrics.horizontalAdvance(names[k]) / 2.0,
                             at.y() + (metrics.ascent() - metrics.descent()) / 2.0),
                     names[k]);
  }
  // Each ring's count along the line towards North-East, where petals are
  // no more likely than elsewhere.
  for (const int count : rings) {
    const QString label = text::FormatNumber(count, 0, separators);
    const QPointF at = Towards(centre, ringRadius(count), 45.0);
    painter.drawText(QPointF(at.x() + 2.0 * pixel, at.y() - 2.0 * pixel), label);
  }

  // The caption.
  QString first =
      QStringLiteral("%1, %2° bins, %3 planes")
          .arg(what, text::FormatNumber(rose.binWidth, geometry::DecimalsOfStep(rose.binWidth),
                                        separators))
          .arg(text::FormatNumber(planes, 0, separators));
  QString second = rose.areaTrue
                       ? QStringLiteral("petal area in proportion to the count; rings at counts")
                       : QStringLiteral("petal length in proportion to the count; rings at counts");
  const double top = centre.y() + radius + nameRoom + 2.0 * pixel;
  painter.drawText(QPointF(box.left(), top + metrics.ascent()), first);
  painter.drawText(QPointF(box.left(), top + metrics.height() + metrics.ascent()), second);
  painter.restore();
}

}  // namespace figures
