#include "ui/charts/mohr_chart.h"

#include <QGraphicsPixmapItem>
#include <QImage>
#include <QPixmap>

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QPen>
#include <QResizeEvent>
#include <QScatterSeries>
#include <algorithm>
#include <vector>

#include "figures/figure_style.h"
#include "figures/mohr_axes.h"
#include "figures/mohr_labels.h"
#include "figures/plane_dots.h"
#include "geometry/axes_fit.h"
#include "text/result_rows.h"
#include "ui/charts/chart_marks.h"
#include "ui/charts/chart_setup.h"

namespace ui {
namespace {

using analysis::MohrPoint;

QList<QPointF> ToQPoints(const std::vector<MohrPoint>& points) {
  QList<QPointF> result;
  result.reserve(static_cast<qsizetype>(points.size()));
  for (const MohrPoint& p : points)
    result.append(QPointF(p.sigma, p.tau));
  return result;
}

}  // namespace

MohrChartView::MohrChartView(QWidget* parent) : QChartView(parent) {
  setObjectName(QStringLiteral("MohrChart"));
  SetUpChartView(*this);
  setMinimumSize(200, 120);
  setFocusPolicy(Qt::NoFocus);
  setAccessibleName(QStringLiteral("Mohr diagram"));

  QChart* c = chart();
  c->setMargins(QMargins(4, 8, 12, 4));

  axisSigma_ = new QCategoryAxis(c);
  axisSigma_->setObjectName(QStringLiteral("MohrAxisSigma"));
  axisSigma_->setTitleText(figures::SigmaAxisTitle());
  axisTau_ = new QCategoryAxis(c);
  axisTau_->setObjectName(QStringLiteral("MohrAxisTau"));
  axisTau_->setTitleText(figures::TauAxisTitle());
  for (QCategoryAxis* axis : {axisSigma_, axisTau_})
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  c->addAxis(axisSigma_, Qt::AlignBottom);
  c->addAxis(axisTau_, Qt::AlignLeft);

  const auto attach = [this, c](QAbstractSeries* series, const char* name) {
    series->setObjectName(QLatin1String(name));
    c->addSeries(series);
    series->attachAxis(axisSigma_);
    series->attachAxis(axisTau_);
  };

  const char* totalNames[] = {"MohrTotalCircle13", "MohrTotalCircle12", "MohrTotalCircle23"};
  for (std::size_t i = 0; i < totalCircles_.size(); ++i) {
    totalCircles_[i] = new QLineSeries(c);
    totalCircles_[i]->setPen(QPen(QBrush(figures::kMohrTotalCircleColour), figures::kMohrLineWidth,
                                  Qt::DashLine, Qt::FlatCap));
    attach(totalCircles_[i], totalNames[i]);
  }

  regionUpper_ = new QLineSeries(c);
  regionLower_ = new QLineSeries(c);
  region_ = new QAreaSeries(regionUpper_, regionLower_);
  region_->setPen(Qt::NoPen);
  region_->setBrush(figures::kMohrRegionColour);
  attach(region_, "MohrRegion");

  const char* circleNames[] = {"MohrCircle13", "MohrCircle12", "MohrCircle23"};
  for (std::size_t i = 0; i < circles_.size(); ++i) {
    circles_[i] = new QLineSeries(c);
    // A round cap draws a circle of radius 0 as a dot.
    circles_[i]->setPen(QPen(QBrush(figures::kMohrCircleColour), figures::kMohrLineWidth,
                             Qt::SolidLine, Qt::RoundCap));
    attach(circles_[i], circleNames[i]);
  }

  limit_ = new QLineSeries(c);
  limit_->setPen(QPen(QBrush(Qt::black), figures::kMohrLineWidth, Qt::DashLine, Qt::FlatCap));
  attach(limit_, "MohrLimit");

  labelFont_ = font();
  labelFont_.setPointSize(figures::kMarkLabelPoints);
  const projection::Colour colours[] = {projection::kGreen, projection::kRed, projection::kBlue,
                                        projection::kBlack};
  const char* markNames[] = {"MohrMarkS1", "MohrMarkS2", "MohrMarkS3", "MohrMarkJoint"};
  for (std::size_t i = 0; i < marks_.size(); ++i) {
    marks_[i] = AddCrossSeries(c, QLatin1String(markNames[i]), labelFont_, true);
    SetCrossColour(marks_[i], figures::ToQColor(colours[i]));
    // Qt Charts stands a point's label centred above it, wherever that is:
    // the marks' labels are texts of their own, placed by Fit.
    marks_[i]->setPointLabelsVisible(false);
  }
  for (QGraphicsSimpleTextItem*& label : markLabels_) {
    label = new QGraphicsSimpleTextItem(c);
    label->setFont(labelFont_);
    label->setBrush(Qt::black);
    label->setZValue(kMarkLabelZ);
    label->hide();
  }

  Fit();
}

MohrChartView::~MohrChartView() = default;

void MohrChartView::Show(const engine::PassResults& results, const text::Separators& separators,
                         const QString& unit) {
  separators_ = separators;
  diagram_ = engine::MohrDiagramOf(results);
  const bool effective = diagram_.has_value() && diagram_->effective;
  sigmaTitles_ = {
      effective ? figures::EffectiveSigmaAxisTitle(unit) : figures::SigmaAxisTitle(unit),
      text::WithUnit(effective ? QStringLiteral("\u03c3\u2032") : QStringLiteral("\u03c3"), unit)};
  tauTitles_ = {figures::TauAxisTitle(unit), text::WithUnit(QStringLiteral("\u03c4"), unit)};
  axisSigma_->setTitleText(sigmaTitles_[0]);
  axisTau_->setTitleText(tauTitles_[0]);
  const std::optional<stress::PrincipalValues> total =
      diagram_.has_value() ? diagram_->totalValues : std::nullopt;
  for (std::size_t i = 0; i < totalCircles_.size(); ++i) {
    if (total.has_value()) {
      totalCircles_[i]->replace(
          ToQPoints(analysis::HalfCircle(analysis::MohrCircles(*total)[i], kCircleSegments)));
    } else {
      totalCircles_[i]->clear();
    }
  }

  if (diagram_.has_value()) {
    const stress::PrincipalValues& v = diagram_->values;
    const analysis::AdmissibleRegion region = analysis::AdmissibleBoundary(v, kCircleSegments);
    regionUpper_->replace(ToQPoints(region.upper));
    regionLower_->replace(ToQPoints(region.lower));
    const auto circles = analysis::MohrCircles(v);
    for (std::size_t i = 0; i < circles.size(); ++i)
      circles_[i]->replace(ToQPoints(analysis::HalfCircle(circles[i], kCircleSegments)));
    for (int i = 0; i < 3; ++i)
      marks_[static_cast<std::size_t>(i)]->replace(QList<QPointF>{QPointF(v[i], 0.0)});
  } else {
    regionUpper_->clear();
    regionLower_->clear();
    for (QLineSeries* circle : circles_)
      circle->clear();
    for (std::size_t i = 0; i < 3; ++i)
      marks_[i]->clear();
  }
  if (diagram_.has_value() && diagram_->joint.has_value()) {
    marks_[3]->replace(QList<QPointF>{QPointF(diagram_->joint->sigma, diagram_->joint->tau)});
  } else {
    marks_[3]->clear();
  }
  if (!diagram_.has_value() || !diagram_->limit.has_value())
    limit_->clear();
  Fit();
  DrawDots();
}

void MohrChartView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  Fit();
  DrawDots();
}

void MohrChartView::SetDots(const std::vector<engine::PlaneResult>* results,
                            const std::vector<QRgb>* colours) {
  dotResults_ = results;
  dotColours_ = colours;
  DrawDots();
}

void MohrChartView::DrawDots() {
  if (!diagram_.has_value() || dotResults_ == nullptr || dotColours_ == nullptr ||
      dotResults_->empty() || dotColours_->size() != dotResults_->size()) {
    dots_.Hide();
    return;
  }
  // The axes are linear: two points give the map from stresses to the chart.
  const QPointF origin = chart()->mapToPosition(QPointF(0.0, 0.0), circles_[0]);
  const QPointF scale = chart()->mapToPosition(QPointF(1.0, 1.0), circles_[0]) - origin;
  const std::vector<engine::PlaneResult>& results = *dotResults_;
  dots_.Draw(
      chart(),
      [&](std::size_t i) {
        return QPointF(origin.x() + results[i].sigmaEff * scale.x(),
                       origin.y() + results[i].tau * scale.y());
      },
      *dotColours_, devicePixelRatioF());
}

void MohrChartView::SetAxis(QCategoryAxis* axis, double min, double max, double step) {
  for (const QString& label : axis->categoriesLabels())
    axis->remove(label);
  axis->setStartValue(min);
  for (const figures::AxisTick& tick : figures::AxisTicks(min, max, step, separators_))
    axis->append(tick.label, tick.value);
  axis->setRange(min, max);
}

// Equal scales (geometry::FitMohrAxes): the largest scale at which the
// diagram's extent fits the plot area, each axis then running as far as the
// plot area reaches at that scale. The plot area
// comes from Qt's layout, which depends on the tick labels, which depend on
// the ranges: two rounds settle it, and the plot area of the second is then
// fixed, so that labels that change once more cannot stretch an axis.
void MohrChartView::Fit() {
  QChart* c = chart();
  const analysis::MohrExtent extent =
      diagram_.has_value() ? diagram_->extent : analysis::MohrExtent{0.0, 1.0, 0.5};

  double sigmaMin = extent.sigmaMin;
  double sigmaMax = extent.sigmaMax;
  double tauMin = 0.0;
  double tauMax = extent.tauMax;
  std::optional<geometry::MohrAxes> shown;
  const auto apply = [&](const QSizeF& room) {
    // The room the tau labels take beside the plot area now.
    const QFontMetricsF tauMetrics(axisTau_->labelsFont());
    double tauLabels = 0.0;
    for (const QString& label : axisTau_->categoriesLabels())
      tauLabels = std::max(tauLabels, tauMetrics.horizontalAdvance(label));
    const std::optional<geometry::MohrAxes> axes = figures::FitAxesWithLabels(
        extent, room.width(), room.height(), QFontMetricsF(axisSigma_->labelsFont()), 1.0,
        separators_, tauLabels);
    if (!axes.has_value())
      return;  // an extent beyond what doubles can scale keeps the last axes
    shown = axes;
    scale_ = axes->scale;
    sigmaMin = axes->sigmaMin;
    sigmaMax = axes->sigmaMax;
    tauMin = axes->tauMin;
    tauMax = axes->tauMax;
    SetAxis(axisSigma_, axes->sigmaMin, axes->sigmaMax, axes->step);
    SetAxis(axisTau_, axes->tauMin, axes->tauMax, axes->tauStep);
  };

  c->setPlotArea(QRectF());
  apply(c->plotArea().size());
  apply(FreePlotArea(c).size());
  c->layout()->activate();
  const QRectF room = c->plotArea();
  apply(room.size());
  FixPlotArea(c, room);
  // A title longer than its axis would be cut short with an ellipsis: the
  // symbol alone is shown instead (its thickness, and so the layout, stays).
  const auto fitTitle = [](QCategoryAxis* axis, const std::array<QString, 2>& titles,
                           double length) {
    const bool fits = QFontMetricsF(axis->titleFont()).horizontalAdvance(titles[0]) <= length;
    axis->setTitleText(fits ? titles[0] : titles[1]);
  };
  fitTitle(axisSigma_, sigmaTitles_, room.width());
  fitTitle(axisTau_, tauTitles_, room.height());

  if (diagram_.has_value() && diagram_->limit.has_value()) {
    const stress::JointPlane& j = *diagram_->limit;
    // Within a band a view's height beyond the view: what shows is the same,
    // and Qt never strokes a dashed line 1e5 views long.
    const double band = tauMax - tauMin;
    limit_->replace(ToQPoints(analysis::ClampToTauBand(
        analysis::LimitLine(j.c, j.phi, sigmaMin, sigmaMax), tauMin - band, tauMax + band)));
  }
  PlaceMarkLabels(shown, room);
}

void MohrChartView::PlaceMarkLabels(const std::optional<geometry::MohrAxes>& axes,
                                    const QRectF& plot) {
  for (QGraphicsSimpleTextItem* label : markLabels_)
    label->hide();
  if (!diagram_.has_value() || !axes.has_value())
    return;
  const std::vector<figures::MohrLabel> labels =
      figures::PlaceMohrLabels(*diagram_, *axes, plot, QFontMetricsF(labelFont_), 1.0);
  for (std::size_t i = 0; i < labels.size() && i < markLabels_.size(); ++i) {
    QGraphicsSimpleTextItem* item = markLabels_[i];
    item->setText(labels[i].text);
    // The item's text box, which starts at its origin, on the box placed.
    item->setPos(labels[i].box.topLeft() - item->boundingRect().topLeft());
    item->show();
  }
}

}  // namespace ui
