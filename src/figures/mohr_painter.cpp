#include "figures/mohr_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <array>
#include <vector>

#include "engine/mohr_diagram.h"
#include "figures/figure_style.h"
#include "figures/mohr_axes.h"
#include "figures/mohr_labels.h"
#include "geometry/axes_fit.h"

namespace figures {
namespace {

using analysis::MohrPoint;

// Pixels kept free around the diagram (left, top, right, bottom), as the
// window's chart keeps them.
constexpr double kMarginLeft = 4.0;
constexpr double kMarginTop = 8.0;
constexpr double kMarginRight = 12.0;
constexpr double kMarginBottom = 4.0;
constexpr double kTickLength = 4.0;
constexpr double kLabelGap = 2.0;
constexpr double kTitleGap = 4.0;

QFont TitleFont() {
  QFont font = LabelFont();
  font.setBold(true);
  return font;
}

using Diagram = engine::MohrDiagram;

std::optional<Diagram> DiagramOf(const engine::PassResults& results) {
  return engine::MohrDiagramOf(results);
}

analysis::MohrExtent ExtentOf(const std::optional<Diagram>& diagram) {
  return diagram.has_value() ? diagram->extent : analysis::MohrExtent{0.0, 1.0, 0.5};
}

/// The widest tick label of the tau axis in a plot of `plot` device units,
/// beside which the tau labels take `labelWidth` now.
double TauLabelWidth(const QFontMetricsF& metrics, const analysis::MohrExtent& extent,
                     const QSizeF& plot, double pixel, const text::Separators& separators,
                     double labelWidth) {
  const std::optional<geometry::MohrAxes> axes =
      FitAxesWithLabels(extent, plot.width() / pixel, plot.height() / pixel, metrics, pixel,
                        separators, labelWidth / pixel);
  double width = 0.0;
  if (axes.has_value()) {
    for (const AxisTick& tick : AxisTicks(axes->tauMin, axes->tauMax, axes->tauStep, separators))
      width = std::max(width, metrics.horizontalAdvance(tick.label));
  }
  return width;
}

MohrFrame FrameOf(const QPaintDevice* device, const QRectF& box,
                  const std::optional<Diagram>& diagram, const text::Separators& separators) {
  auto* paintDevice = const_cast<QPaintDevice*>(device);
  const double pixel = PixelsOn(device->logicalDpiX());
  const QFontMetricsF labels(LabelFont(), paintDevice);
  const QFontMetricsF titles(TitleFont(), paintDevice);
  const analysis::MohrExtent extent = ExtentOf(diagram);
  const double bottom = (kMarginBottom + kTickLength + kLabelGap + kTitleGap) * pixel +
                        labels.height() + titles.height();
  const double leftFixed =
      (kMarginLeft + kTickLength + kLabelGap + kTitleGap) * pixel + titles.height();
  // The tau labels' width depends on the plot's height through the scale:
  // two rounds settle it, as Qt's layout settles the window's chart.
  double labelWidth = 0.0;
  QRectF plot;
  for (int round = 0; round < 2; ++round) {
    plot = box.adjusted(leftFixed + labelWidth, kMarginTop * pixel, -kMarginRight * pixel, -bottom);
    labelWidth = TauLabelWidth(labels, extent, plot.size(), pixel, separators, labelWidth);
  }
  plot = box.adjusted(leftFixed + labelWidth, kMarginTop * pixel, -kMarginRight * pixel, -bottom);
  return {plot, FitAxesWithLabels(extent, plot.width() / pixel, plot.height() / pixel, labels,
                                  pixel, separators, labelWidth / pixel)};
}

QPolygonF Polyline(const MohrMap& map, const std::vector<MohrPoint>& points) {
  QPolygonF line;
  for (const MohrPoint& p : points)
    line << map(p.sigma, p.tau);
  return line;
}

void DrawAxes(QPainter& painter, const MohrFrame& frame, const QRectF& box, double pixel,
              const text::Separators& separators, bool effective, const QString& unit) {
  const QRectF& plot = frame.plot;
  const QFont labelFont = LabelFont();
  const QFontMetricsF labels(labelFont, painter.device());
  const QFontMetricsF titles(TitleFont(), painter.device());
  if (frame.axes.has_value()) {
    const geometry::MohrAxes& axes = *frame.axes;
    const MohrMap map(plot, axes);
    painter.setFont(labelFont);
    for (const AxisTick& tick : AxisTicks(axes.sigmaMin, axes.sigmaMax, axes.step, separators)) {
      const double x = map(tick.value, 0.0).x();
      painter.setPen(QPen(kGridColour, pixel));
      painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
      painter.setPen(QPen(kAxisColour, pixel));
      painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength * pixel));
      painter.setPen(Qt::black);
      painter.drawText(QPointF(x - labels.horizontalAdvance(tick.label) / 2.0,
                               plot.bottom() + (kTickLength + kLabelGap) * pixel + labels.ascent()),
                       tick.label);
    }
    for (const AxisTick& tick : AxisTicks(axes.tauMin, axes.tauMax, axes.tauStep, separators)) {
      const double y = map(0.0, tick.value).y();
      painter.setPen(QPen(kGridColour, pixel));
      painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
      painter.setPen(QPen(kAxisColour, pixel));
      painter.drawLine(QPointF(plot.left() - kTickLength * pixel, y), QPointF(plot.left(), y));
      painter.setPen(Qt::black);
      painter.drawText(QPointF(plot.left() - (kTickLength + kLabelGap) * pixel -
                                   labels.horizontalAdvance(tick.label),
                               y + (labels.ascent() - labels.descent()) / 2.0),
                       tick.label);
    }
  }
  painter.setPen(QPen(kAxisColour, pixel));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);

  painter.setFont(TitleFont());
  painter.setPen(Qt::black);
  const QString sigma = effective ? EffectiveSigmaAxisTitle(unit) : SigmaAxisTitle(unit);
  painter.drawText(QPointF(plot.center().x() - titles.horizontalAdvance(sigma) / 2.0,
                           box.bottom() - kMarginBottom * pixel - titles.descent()),
                   sigma);
  const QString tau = TauAxisTitle(unit);
  painter.save();
  painter.translate(box.left() + kMarginLeft * pixel + titles.ascent(), plot.center().y());
  painter.rotate(-90.0);
  painter.drawText(QPointF(-titles.horizontalAdvance(tau) / 2.0, 0.0), tau);
  painter.restore();
}

void DrawCross(QPainter& painter, const QPointF& at, const QColor& colour, double pixel) {
  const double arm = (kCrossArm + 0.5) * pixel;
  painter.setPen(QPen(colour, pixel, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(at - QPointF(arm, 0.0), at + QPointF(arm, 0.0));
  painter.drawLine(at - QPointF(0.0, arm), at + QPointF(0.0, arm));
}

}  // namespace

MohrFrame MohrFrameOf(const QPainter& painter, const QRectF& box,
                      const engine::PassResults& results, const text::Separators& separators) {
  return FrameOf(painter.device(), box, DiagramOf(results), separators);
}

void PaintMohr(QPainter& painter, const QRectF& box, const engine::PassResults& results,
               const text::Separators& separators, const QString& unit, const PlaneDots* dots) {
  const std::optional<Diagram> diagram = DiagramOf(results);
  const double pixel = PixelsOn(painter.device()->logicalDpiX());
  const MohrFrame frame = FrameOf(painter.device(), box, diagram, separators);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  DrawAxes(painter, frame, box, pixel, separators, diagram.has_value() && diagram->effective, unit);
  if (!diagram.has_value() || !frame.axes.has_value()) {
    painter.restore();
    return;
  }
  const geometry::MohrAxes& axes = *frame.axes;
  const MohrMap map(frame.plot, axes);
  const stress::PrincipalValues& v = diagram->values;

  // What lies inside the plot is cut at its edges; the marks' labels keep inside it.
  painter.save();
  painter.setClipRect(frame.plot);
  if (diagram->totalValues.has_value()) {
    painter.setPen(
        QPen(QBrush(kMohrTotalCircleColour), kMohrLineWidth * pixel, Qt::DashLine, Qt::FlatCap));
    for (const analysis::MohrCircle& circle : analysis::MohrCircles(*diagram->totalValues))
      painter.drawPolyline(Polyline(map, analysis::HalfCircle(circle, kMohrCircleSegments)));
  }
  const analysis::AdmissibleRegion region = analysis::AdmissibleBoundary(v, kMohrCircleSegments);
  QPolygonF area = Polyline(map, region.upper);
  const QPolygonF lower = Polyline(map, region.lower);
  for (auto it = lower.crbegin(); it != lower.crend(); ++it)
    area << *it;
  painter.setPen(Qt::NoPen);
  painter.setBrush(kMohrRegionColour);
  painter.drawPolygon(area);
  painter.setBrush(Qt::NoBrush);
  if (dots != nullptr && !dots->Empty()) {
    std::vector<QPointF> points(dots->results->size());
    for (std::size_t i = 0; i < points.size(); ++i)
      points[i] = map((*dots->results)[i].sigmaEff, (*dots->results)[i].tau);
    PaintDotImage(painter, frame.plot, points, *dots->colours);
  }

  painter.setPen(
      QPen(QBrush(kMohrCircleColour), kMohrLineWidth * pixel, Qt::SolidLine, Qt::RoundCap));
  for (const analysis::MohrCircle& circle : analysis::MohrCircles(v))
    painter.drawPolyline(Polyline(map, analysis::HalfCircle(circle, kMohrCircleSegments)));

  if (diagram->limit.has_value()) {
    const stress::JointPlane& j = *diagram->limit;
    painter.setPen(QPen(QBrush(Qt::black), kMohrLineWidth * pixel, Qt::DashLine, Qt::FlatCap));
    const double band = axes.tauMax - axes.tauMin;
    painter.drawPolyline(Polyline(
        map, analysis::ClampToTauBand(analysis::LimitLine(j.c, j.phi, axes.sigmaMin, axes.sigmaMax),
                                      axes.tauMin - band, axes.tauMax + band)));
  }

  const projection::Colour colours[] = {projection::kGreen, projection::kRed, projection::kBlue};
  for (int i = 0; i < 3; ++i)
    DrawCross(painter, map(v[i], 0.0), ToQColor(colours[i]), pixel);
  if (diagram->joint.has_value()) {
    DrawCross(painter, map(diagram->joint->sigma, diagram->joint->tau),
              ToQColor(projection::kBlack), pixel);
  }
  // The labels last, over the lines they keep clear of where room allows.
  const QFontMetricsF metrics(LabelFont(), painter.device());
  painter.setFont(LabelFont());
  painter.setPen(Qt::black);
  for (const MohrLabel& label : PlaceMohrLabels(*diagram, axes, frame.plot, metrics, pixel))
    painter.drawText(QPointF(label.box.left(), label.box.top() + metrics.ascent()), label.text);
  painter.restore();
  painter.restore();
}

}  // namespace figures
