#include "ui/charts/net_chart.h"

#include <QPainter>

#include <QChart>
#include <QFont>
#include <QFontMetrics>
#include <QGraphicsPixmapItem>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPen>
#include <QPixmap>
#include <QResizeEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "figures/figure_style.h"
#include "figures/plane_dots.h"
#include "numeric/same_bits.h"
#include "ui/charts/chart_marks.h"
#include "ui/charts/chart_setup.h"

namespace ui {

namespace {

using projection::NetPoint;
using projection::PointList;
using projection::PointOrder;

constexpr double kMarginFraction = 0.03;
// The axis names, placed over the chart in view pixels.
constexpr QRect kNorthName(160, 8, 42, 13);
constexpr QRect kEastName(288, 136, 10, 13);

QList<QPointF> ToQPoints(const std::vector<NetPoint>& points) {
  QList<QPointF> result;
  result.reserve(static_cast<qsizetype>(points.size()));
  for (const NetPoint& p : points)
    result.append(QPointF(p.x, p.y));
  return result;
}

using numeric::SameBits;

// The same point to the bit (a zero's sign included), label and colour.
bool SamePoint(const NetPoint& a, const NetPoint& b) {
  return SameBits(a.x, b.x) && SameBits(a.y, b.y) && a.colour == b.colour && a.label == b.label;
}

bool SamePoints(const std::vector<NetPoint>& a, const std::vector<NetPoint>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SamePoint);
}

}  // namespace

/// A series as the geometry sees it: its points live in a PointList until
/// Publish shows them. It remembers what it last showed, so that a pass that
/// stores the same points again hands Qt Charts nothing.
class ChartSeries : public projection::PointSeries {
 public:
  explicit ChartSeries(PointOrder order) : points_(order) {}

  void ClearPoints() override { points_.ClearPoints(); }
  void AddPoint(double x, double y, std::string_view label, projection::Colour colour) override {
    points_.AddPoint(x, y, label, colour);
  }
  void SetOrder(PointOrder order) override { points_.SetOrder(order); }
  std::uint64_t Revision() const override { return points_.Revision(); }

  const PointList& Points() const { return points_; }

  /// Shows the stored points if they differ from the ones last shown.
  void Publish() {
    if (points_.Revision() == publishedRevision_)
      return;
    publishedRevision_ = points_.Revision();
    if (SamePoints(points_.Points(), shown_))
      return;
    Show();
    shown_ = points_.Points();
  }

 protected:
  virtual void Show() = 0;

 private:
  PointList points_;
  std::vector<NetPoint> shown_;          // as Qt Charts has them
  std::uint64_t publishedRevision_ = 0;  // of the points last compared with shown_
};

namespace {

QPen LinePen(const QColor& colour) {
  return QPen(QBrush(colour), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
}

/// A polyline through the points in their stored order. All points of a curve
/// share one colour; the line takes the colour of the last point.
class LineSeriesAdapter final : public ChartSeries {
 public:
  explicit LineSeriesAdapter(QLineSeries* series)
      : ChartSeries(PointOrder::Insertion), series_(series) {}

 protected:
  void Show() override {
    const std::vector<NetPoint>& points = Points().Points();
    // A new pen makes Qt Charts lay the line out again, as a replace does.
    if (!points.empty()) {
      const QPen pen = LinePen(figures::ToQColor(points.back().colour));
      if (series_->pen() != pen)
        series_->setPen(pen);
    }
    series_->replace(ToQPoints(points));
  }

 private:
  QLineSeries* series_;
};

/// The poles: the Qt series Series3 holds them all, in their stored order, and
/// draws nothing itself, since one Qt Charts 6.4 series can draw neither a cross
/// nor a text of its own per point. Each pole is drawn by a scatter series of
/// its own (a cross image in its colour, its label as the label format); these
/// are kept in a pool, shown in the stored order and hidden when unused. Each
/// keeps the pole it shows and is handed only what differs from it.
class PoleSeriesAdapter final : public ChartSeries {
 public:
  PoleSeriesAdapter(QScatterSeries* all, QChart* chart, QFont labelFont)
      : ChartSeries(PointOrder::AscendingX),
        all_(all),
        chart_(chart),
        labelFont_(std::move(labelFont)) {}

 protected:
  void Show() override {
    const std::vector<NetPoint>& points = Points().Points();
    all_->replace(ToQPoints(points));
    while (pool_.size() < points.size())
      pool_.push_back({NewPoleSeries(), std::nullopt});
    for (std::size_t i = 0; i < points.size(); ++i)
      ShowPole(pool_[i], points[i]);
    for (std::size_t i = points.size(); i < pool_.size(); ++i)
      HidePole(pool_[i]);
  }

 private:
  struct Pole {
    QScatterSeries* series;
    std::optional<NetPoint> shown;  // none while hidden
  };

  static void ShowPole(Pole& pole, const NetPoint& p) {
    QScatterSeries* series = pole.series;
    if (!pole.shown || pole.shown->colour != p.colour)
      SetCrossColour(series, figures::ToQColor(p.colour));
    if (!pole.shown || pole.shown->label != p.label)
      series->setPointLabelsFormat(LiteralLabelFormat(QString::fromStdString(p.label)));
    if (!pole.shown || !SameBits(pole.shown->x, p.x) || !SameBits(pole.shown->y, p.y))
      series->replace(QList<QPointF>{QPointF(p.x, p.y)});
    if (!pole.shown)
      series->setVisible(true);
    pole.shown = p;
  }

  static void HidePole(Pole& pole) {
    if (!pole.shown)
      return;
    pole.series->clear();
    pole.series->setVisible(false);
    pole.shown.reset();
  }

  QScatterSeries* NewPoleSeries() {
    return AddCrossSeries(chart_, QStringLiteral("Series3Pole"), labelFont_, false);
  }

  QScatterSeries* all_;
  QChart* chart_;
  QFont labelFont_;
  std::vector<Pole> pool_;
};

QValueAxis* NetAxis(QChart* chart, Qt::Alignment alignment, const QFont& titleFont) {
  auto* axis = new QValueAxis(chart);
  axis->setRange(-NetChartView::kNetRange, NetChartView::kNetRange);
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(0.0);
  axis->setTickInterval(figures::kNetTickInterval);
  // No printf format: each value is written, in the user's number format, with
  // the decimals the tick interval needs ("0.50"). A format would make Qt
  // Charts compile a regular expression to read it, which the start pays for
  // with about half a MiB of memory.
  axis->setLabelFormat(QString());
  // The axes have no titles. A title font of our own keeps the theme from
  // giving them its bold one, whose face would be loaded only to measure
  // the empty titles.
  axis->setTitleFont(titleFont);
  chart->addAxis(axis, alignment);
  return axis;
}

QLabel* AxisName(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(geometry);
  label->setAutoFillBackground(false);  // the chart shows through
  return label;
}

}  // namespace

NetChartView::NetChartView(QWidget* parent) : QChartView(parent) {
  setFixedSize(kViewSize, kViewSize);
  SetUpChartView(*this);
  // A pole's label may stand outside the plot area, where Qt would not repaint
  // it when the poles change; the whole 305-pixel view is repainted instead.
  setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
  // A map that could not be made (out of memory) is not shown; the net
  // stays as it is without one.
  mapJob_.SetErrorHandler([](std::exception_ptr) {});

  QChart* net = chart();
  net->setTitle(QString());
  net->setPlotAreaBackgroundVisible(false);
  net->setLocalizeNumbers(true);

  poleLabelFont_ = font();
  poleLabelFont_.setPointSize(figures::kMarkLabelPoints);

  QValueAxis* axisX = NetAxis(net, Qt::AlignBottom, poleLabelFont_);
  QValueAxis* axisY = NetAxis(net, Qt::AlignLeft, poleLabelFont_);

  for (int n = 1; n <= kSeriesCount; ++n) {
    QXYSeries* qtSeries = nullptr;
    if (n == kPoleSeries) {
      auto* all = new QScatterSeries(net);
      qtSeries = all;
      series_[n - 1] = std::make_unique<PoleSeriesAdapter>(all, net, poleLabelFont_);
    } else {
      auto* line = new QLineSeries(net);
      line->setPen(LinePen(Qt::black));
      line->setPointsVisible(false);
      line->setPointLabelsVisible(false);
      qtSeries = line;
      series_[n - 1] = std::make_unique<LineSeriesAdapter>(line);
    }
    qtSeries->setObjectName(QStringLiteral("Series%1").arg(n));
    net->addSeries(qtSeries);
    qtSeries->attachAxis(axisX);
    qtSeries->attachAxis(axisY);
    if (n == kPoleSeries)
      qtSeries->setVisible(false);
  }

  AxisName(this, "Label35", QStringLiteral("Y (North)"), kNorthName);
  AxisName(this, "Label36", QStringLiteral("X "), kEastName);
}

NetChartView::~NetChartView() = default;

projection::PointSeries& NetChartView::Series(int n) {
  return *series_.at(n - 1);
}

const projection::PointList& NetChartView::Points(int n) const {
  return series_.at(n - 1)->Points();
}

void NetChartView::Publish() {
  for (const auto& series : series_)
    series->Publish();
}

void NetChartView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  FitSquarePlotArea();
  DrawDots();
  DrawMap();
}

void NetChartView::SetDots(const std::vector<figures::DotPoint>* points,
                           const std::vector<QRgb>* colours) {
  dotPoints_ = points;
  dotColours_ = colours;
  DrawDots();
}

void NetChartView::DrawDots() {
  if (dotPoints_ == nullptr || dotColours_ == nullptr || dotPoints_->empty() ||
      dotColours_->size() != dotPoints_->size()) {
    dots_.Hide();
    return;
  }
  const QRectF plot = chart()->plotArea();
  const double scaleX = plot.width() / (2.0 * kNetRange);
  const double scaleY = plot.height() / (2.0 * kNetRange);
  const std::vector<figures::DotPoint>& poles = *dotPoints_;
  dots_.Draw(
      chart(),
      [&](std::size_t i) {
        return QPointF(plot.left() + (poles[i].x + kNetRange) * scaleX,
                       plot.top() + (kNetRange - poles[i].y) * scaleY);
      },
      *dotColours_, devicePixelRatioF());
}

void NetChartView::SetMapSource(MapSource source) {
  mapSource_ = std::move(source);
  DrawMap();
}

void NetChartView::DrawMap() {
  map_ = {};
  mapLayer_.Hide();
  legend_.Hide();
  const QRectF plot = chart()->plotArea();
  const double ratio = devicePixelRatioF();
  const int pixels = qRound(plot.width() * ratio);
  MapJob job =
      mapSource_ && pixels > 0 ? mapSource_(figures::PlotGrid(pixels, kNetRange), ratio) : MapJob{};
  if (!job) {
    mapJob_.Cancel();
    return;
  }
  // The legend left of the North axis name, above the plot.
  const QSizeF legendSize(kNorthName.left() - 8.0, plot.top() - 3.0);
  mapJob_.Start(
      [job = std::move(job), pixels, ratio, legendSize](JobControl&) {
        MapPictures made;
        made.map = job();
        if (made.map.Empty())
          return made;
        // The map's pixels are the device's: the picture is painted one to one.
        made.picture = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        made.picture.setDevicePixelRatio(ratio);
        made.picture.fill(Qt::transparent);
        {
          QPainter painter(&made.picture);
          figures::PaintTendencyMap(painter, QRectF(0.0, 0.0, pixels / ratio, pixels / ratio),
                                    kNetRange, made.map);
        }
        made.legend = QImage((legendSize * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        made.legend.setDevicePixelRatio(ratio);
        made.legend.fill(Qt::transparent);
        {
          QPainter painter(&made.legend);
          figures::PaintMapLegend(painter, QRectF(QPointF(0.0, 0.0), legendSize), made.map);
        }
        return made;
      },
      [this](MapPictures made) { ShowMapPictures(std::move(made)); });
}

void NetChartView::ShowMapPictures(MapPictures made) {
  if (made.map.Empty())
    return;
  const QRectF plot = chart()->plotArea();
  const double ratio = made.picture.devicePixelRatio();
  map_ = std::move(made.map);
  mapLayer_.Show(chart(), std::move(made.picture), ratio, plot.topLeft());
  legend_.Show(chart(), std::move(made.legend), ratio, QPointF(4.0, 2.0));
}

void NetChartView::FitSquarePlotArea() {
  QChart* net = chart();
  const QSizeF size = net->size();
  const int marginX = qRound(kMarginFraction * size.width());
  const int marginY = qRound(kMarginFraction * size.height());
  net->setMargins(QMargins(marginX, marginY, marginX, marginY));

  // Qt's own layout leaves room for the axis labels, but gives each axis
  // whatever length is left, which draws the net as an ellipse. The plot area
  // is the square of figures::NetPlotSquare inside that room, a pole on the
  // north rim keeping its label (centred above it) below the north axis name.
  const qreal rimTopMin =
      kNorthName.bottom() + 1 + QFontMetrics(poleLabelFont_).ascent() + figures::kMarkLabelLift;
  FixPlotArea(net, figures::NetPlotSquare(FreePlotArea(net), rimTopMin));
}

}  // namespace ui
