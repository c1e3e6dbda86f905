#include "figures/net_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "figures/figure_style.h"
#include "figures/net_frame.h"
#include "projection/equal_area.h"
#include "text/shown_fields.h"

namespace figures {
namespace {

using projection::NetPoint;
using projection::PointList;

// Of the box's side, around the net (the window's chart keeps 3 %).
constexpr double kMarginFraction = 0.03;
// Pixels between a value label and the plot.
constexpr double kLabelGap = 4.0;
// Pixels between the plot's right edge and the name of the x axis.
constexpr double kEastGap = 2.0;

QString EastName() {
  return QStringLiteral("X");
}

/// Net coordinates to device units of the plot square.
class NetMap {
 public:
  explicit NetMap(const QRectF& plot) : plot_(plot) {}
  QPointF operator()(double x, double y) const {
    const double half = plot_.width() / 2.0;
    return {plot_.center().x() + x / kNetRange * half, plot_.center().y() - y / kNetRange * half};
  }

 private:
  QRectF plot_;
};

struct Layout {
  QRectF plot;
  double pixel;  // device units per pixel
};

Layout LayOut(const QPaintDevice* device, const QRectF& box) {
  const double pixel = PixelsOn(device->logicalDpiX());
  const QFontMetricsF metrics(LabelFont(), const_cast<QPaintDevice*>(device));
  const double labelWidth = metrics.horizontalAdvance(QStringLiteral("-0.00"));
  const double marginX = kMarginFraction * box.width();
  const double marginY = kMarginFraction * box.height();
  // The name of the x axis stands beyond the plot's right edge, clear of the
  // primitive circle, which comes within a tenth of the net's radius of it.
  const double eastWidth = kEastGap * pixel + metrics.horizontalAdvance(EastName());
  const QRectF room =
      box.adjusted(marginX + labelWidth + kLabelGap * pixel, marginY, -std::max(marginX, eastWidth),
                   -(marginY + metrics.height() + kLabelGap * pixel));
  // A pole on the north rim keeps its label (centred above it) below the
  // north name at the top of the box.
  const double rimTopMin =
      box.top() + marginY + metrics.height() + metrics.ascent() + kMarkLabelLift * pixel;
  // Whole device units at a device's own resolution; the plot square's odd
  // side is then counted in those units.
  return {NetPlotSquare(room, rimTopMin), pixel};
}

QPolygonF Polyline(const PointList& list, const NetMap& map) {
  QPolygonF line;
  for (const NetPoint& p : list.Points())
    line << map(p.x, p.y);
  return line;
}

void DrawCurve(QPainter& painter, const PointList& list, const NetMap& map, double pixel) {
  if (list.Points().empty())
    return;
  // A curve takes the colour of its last point, as the window's chart draws it.
  painter.setPen(QPen(QBrush(ToQColor(list.Points().back().colour)), kNetLineWidth * pixel,
                      Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter.drawPolyline(Polyline(list, map));
}

}  // namespace

NetPoints NetPointsOf(const engine::PassResults& results) {
  NetPoints net;
  projection::AddPrimitiveCircle(net.circle);
  if (results.jointPlane.has_value()) {
    projection::PlotPlane(net.joint, net.poles, projection::kBlack,
                          results.jointPlane->dipDirection, results.jointPlane->dip, "joint");
  }
  for (int i = 0; i < 3; ++i) {
    const std::optional<engine::PrincipalDirection>& direction = results.directions[i];
    if (!direction.has_value())
      break;
    const text::ShownField& value = text::FieldOf(text::ValueField(i));
    projection::PlotPlane(net.planes[i], net.poles, value.colour, direction->plane.dipDirection,
                          direction->plane.dip, value.name);
  }
  return net;
}

QRectF NetPlot(const QPainter& painter, const QRectF& box) {
  return LayOut(painter.device(), box).plot;
}

analysis::NetRaster NetMapGrid(const QPainter& painter, const QRectF& box, double* pixel) {
  constexpr double kImageDpi = 300.0;
  const double dpi = painter.device()->logicalDpiX();
  const QRectF plot = NetPlot(painter, box);
  const double toImage = std::min(1.0, kImageDpi / dpi);
  const int pixels = std::max(1, static_cast<int>(std::ceil(plot.width() * toImage)));
  *pixel = PixelsOn(static_cast<int>(dpi)) * toImage;
  return PlotGrid(pixels, kNetRange);
}

TendencyMap NetMapFor(const QPainter& painter, const QRectF& box,
                      const engine::PassResults& results, const MapRequest& request,
                      const text::Separators& separators) {
  double pixel = 1.0;
  const analysis::NetRaster grid = NetMapGrid(painter, box, &pixel);
  return MakeTendencyMap(results, request, grid, separators, pixel);
}

void PaintNet(QPainter& painter, const QRectF& box, const engine::PassResults& results,
              const text::Separators& separators, const PlaneDots* dots,
              const TendencyMap* tendencies, const DensityMap* density) {
  const NetPoints net = NetPointsOf(results);
  const Layout layout = LayOut(painter.device(), box);
  const QRectF& plot = layout.plot;
  const double pixel = layout.pixel;
  const NetMap map(plot);
  const QFont font = LabelFont();
  const QFontMetricsF metrics(font, painter.device());

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);

  // The grid and the value labels every half unit, then the plot's edge.
  const int ticks = static_cast<int>(std::floor(kNetRange / kNetTickInterval));
  painter.setFont(font);
  for (int n = -ticks; n <= ticks; ++n) {
    const double v = n * kNetTickInterval;
    const QPointF x = map(v, 0.0);
    const QPointF y = map(0.0, v);
    painter.setPen(QPen(kGridColour, pixel));
    painter.drawLine(QPointF(x.x(), plot.top()), QPointF(x.x(), plot.bottom()));
    painter.drawLine(QPointF(plot.left(), y.y()), QPointF(plot.right(), y.y()));
    const QString label = text::FormatNumber(v, kNetTickDecimals, separators);
    painter.setPen(Qt::black);
    const double width = metrics.horizontalAdvance(label);
    painter.drawText(
        QPointF(x.x() - width / 2.0, plot.bottom() + kLabelGap * pixel + metrics.ascent()), label);
    painter.drawText(QPointF(plot.left() - kLabelGap * pixel - width,
                             y.y() + (metrics.ascent() - metrics.descent()) / 2.0),
                     label);
  }
  painter.setPen(QPen(kAxisColour, pixel));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);

  if (tendencies != nullptr)
    PaintTendencyMap(painter, plot, kNetRange, *tendencies);
  if (density != nullptr)
    PaintDensityMap(painter, plot, kNetRange, *density);

  if (dots != nullptr && !dots->Empty()) {
    std::vector<QPointF> points(dots->poles->size());
    for (std::size_t i = 0; i < points.size(); ++i)
      points[i] = map((*dots->poles)[i].x, (*dots->poles)[i].y);
    PaintDotImage(painter, plot, points, *dots->colours);
  }

  // The curves in the window's order: circle, joint, s1, s2, s3.
  DrawCurve(painter, net.circle, map, pixel);
  DrawCurve(painter, net.joint, map, pixel);
  for (const PointList& plane : net.planes)
    DrawCurve(painter, plane, map, pixel);

  // The poles: a cross each, its label centred above it, never cut at the plot.
  const double arm = (kCrossArm + 0.5) * pixel;
  for (const NetPoint& pole : net.poles.Points()) {
    const QPointF c = map(pole.x, pole.y);
    painter.setPen(QPen(ToQColor(pole.colour), pixel, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(c - QPointF(arm, 0.0), c + QPointF(arm, 0.0));
    painter.drawLine(c - QPointF(0.0, arm), c + QPointF(0.0, arm));
    const QString label = QString::fromStdString(pole.label);
    painter.setPen(Qt::black);
    painter.drawText(
        QPointF(c.x() - metrics.horizontalAdvance(label) / 2.0, c.y() - kMarkLabelLift * pixel),
        label);
  }

  // The axis names: North above the net's top, a little right of its centre;
  // East beyond the right end of the x axis, centred on it.
  painter.setPen(Qt::black);
  const double marginY = kMarginFraction * box.height();
  painter.drawText(QPointF(plot.center().x() + 4.0 * pixel, box.top() + marginY + metrics.ascent()),
                   QStringLiteral("Y (North)"));
  const QPointF right = map(kNetRange, 0.0);
  painter.drawText(QPointF(right.x() + kEastGap * pixel,
                           right.y() + (metrics.ascent() - metrics.descent()) / 2.0),
                   EastName());
  painter.restore();
}

}  // namespace figures
