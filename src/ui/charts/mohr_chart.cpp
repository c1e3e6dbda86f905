#include "ui/charts/mohr_chart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QPen>
#include <QResizeEvent>
#include <QScatterSeries>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/charts/chart_marks.h"
#include "ui/common/qt_colour.h"

namespace ui {
namespace {

using analysis::MohrPoint;

constexpr double kMargin = 0.08;       // of the sigma span, around the diagram
constexpr double kTickSpacing = 50.0;  // fewest pixels between ticks
constexpr double kBelowAxis = 8.0;     // pixels of the tau axis below tau = 0
constexpr int kMarkLabelPointSize = 8;
constexpr int kMaxTicks = 200;  // a bound, whatever rounding does
const QColor kRegionColour(222, 232, 244);
const QColor kCircleColour(40, 40, 40);

QList<QPointF> ToQPoints(const std::vector<MohrPoint>& points) {
  QList<QPointF> result;
  result.reserve(static_cast<qsizetype>(points.size()));
  for (const MohrPoint& p : points)
    result.append(QPointF(p.sigma, p.tau));
  return result;
}

/// 1, 2 or 5 times a power of ten, the smallest such at least `step`.
double NiceStep(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step)));
  const double mantissa = step / power;
  if (mantissa <= 1.0)
    return power;
  if (mantissa <= 2.0)
    return 2.0 * power;
  if (mantissa <= 5.0)
    return 5.0 * power;
  return 10.0 * power;
}

/// Decimals that show every multiple of a 1-2-5 step exactly.
int DecimalsOf(double step) {
  return std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 18);
}

/// The labels of the s1, s2 and s3 marks: a repeated value is labelled once,
/// with the names of all the values at its place.
std::array<QString, 3> MarkLabels(const stress::PrincipalValues& v) {
  if (v.s1 == v.s2 && v.s2 == v.s3)
    return {QStringLiteral("s1 = s2 = s3"), QString(), QString()};
  if (v.s1 == v.s2)
    return {QStringLiteral("s1 = s2"), QString(), QStringLiteral("s3")};
  if (v.s2 == v.s3)
    return {QStringLiteral("s1"), QStringLiteral("s2 = s3"), QString()};
  return {QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("s3")};
}

}  // namespace

MohrChartView::MohrChartView(QWidget* parent) : QChartView(parent) {
  setObjectName(QStringLiteral("MohrChart"));
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setRubberBand(QChartView::NoRubberBand);
  setDragMode(QGraphicsView::NoDrag);
  setRenderHint(QPainter::Antialiasing, true);
  setMinimumSize(200, 120);
  setFocusPolicy(Qt::NoFocus);
  setAccessibleName(QStringLiteral("Mohr diagram"));

  QChart* c = chart();
  c->legend()->hide();
  c->setBackgroundRoundness(0);
  c->layout()->setContentsMargins(0, 0, 0, 0);
  c->setMargins(QMargins(4, 8, 12, 4));

  axisSigma_ = new QCategoryAxis(c);
  axisSigma_->setObjectName(QStringLiteral("MohrAxisSigma"));
  axisSigma_->setTitleText(QString::fromUtf8("Normal stress \u03c3"));
  axisTau_ = new QCategoryAxis(c);
  axisTau_->setObjectName(QStringLiteral("MohrAxisTau"));
  axisTau_->setTitleText(QString::fromUtf8("Shear stress \u03c4"));
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

  regionUpper_ = new QLineSeries(c);
  regionLower_ = new QLineSeries(c);
  region_ = new QAreaSeries(regionUpper_, regionLower_);
  region_->setPen(Qt::NoPen);
  region_->setBrush(kRegionColour);
  attach(region_, "MohrRegion");

  const char* circleNames[] = {"MohrCircle13", "MohrCircle12", "MohrCircle23"};
  for (std::size_t i = 0; i < circles_.size(); ++i) {
    circles_[i] = new QLineSeries(c);
    // A round cap draws a circle of radius 0 as a dot.
    circles_[i]->setPen(QPen(QBrush(kCircleColour), 1.2, Qt::SolidLine, Qt::RoundCap));
    attach(circles_[i], circleNames[i]);
  }

  limit_ = new QLineSeries(c);
  limit_->setPen(QPen(QBrush(Qt::black), 1.2, Qt::DashLine, Qt::FlatCap));
  attach(limit_, "MohrLimit");

  QFont labelFont = font();
  labelFont.setPointSize(kMarkLabelPointSize);
  const projection::Colour colours[] = {projection::kGreen, projection::kRed, projection::kBlue,
                                        projection::kBlack};
  const char* markNames[] = {"MohrMarkS1", "MohrMarkS2", "MohrMarkS3", "MohrMarkJoint"};
  for (std::size_t i = 0; i < marks_.size(); ++i) {
    auto* mark = new QScatterSeries(c);
    const QColor colour = ToQColor(colours[i]);
    mark->setColor(colour);
    mark->setMarkerSize(kCrossSize);
    mark->setLightMarker(CrossImage(colour));
    mark->setPointLabelsVisible(true);
    mark->setPointLabelsColor(Qt::black);
    mark->setPointLabelsFont(labelFont);
    mark->setPointLabelsClipping(true);
    marks_[i] = mark;
    attach(mark, markNames[i]);
  }
  marks_[3]->setPointLabelsFormat(QStringLiteral("joint"));

  Fit();
}

MohrChartView::~MohrChartView() = default;

void MohrChartView::Show(const engine::PassResults& results, const text::Separators& separators) {
  separators_ = separators;
  diagram_.reset();
  if (results.values.has_value()) {
    Diagram d{*results.values, std::nullopt, {}};
    if (results.jointStresses.has_value() && results.joint.has_value()) {
      d.joint = MohrPoint{results.jointStresses->sigma, results.jointStresses->tau};
      d.strength = *results.joint;
    }
    diagram_ = d;
  }

  if (diagram_.has_value()) {
    const stress::PrincipalValues& v = diagram_->values;
    const analysis::AdmissibleRegion region = analysis::AdmissibleBoundary(v, kCircleSegments);
    regionUpper_->replace(ToQPoints(region.upper));
    regionLower_->replace(ToQPoints(region.lower));
    const auto circles = analysis::MohrCircles(v);
    for (std::size_t i = 0; i < circles.size(); ++i)
      circles_[i]->replace(ToQPoints(analysis::HalfCircle(circles[i], kCircleSegments)));
    const std::array<QString, 3> labels = MarkLabels(v);
    for (int i = 0; i < 3; ++i) {
      QScatterSeries* mark = marks_[static_cast<std::size_t>(i)];
      mark->setPointLabelsFormat(LiteralLabelFormat(labels[static_cast<std::size_t>(i)]));
      mark->replace(QList<QPointF>{QPointF(v[i], 0.0)});
    }
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
    limit_->clear();
  }
  Fit();
}

void MohrChartView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  Fit();
}

void MohrChartView::SetAxis(QCategoryAxis* axis, double min, double max, double step) {
  for (const QString& label : axis->categoriesLabels())
    axis->remove(label);
  axis->setStartValue(min);
  const int decimals = DecimalsOf(step);
  const double first = std::ceil(min / step);
  const double last = std::floor(max / step);
  QString previous;
  for (double n = first; n <= last && n - first < kMaxTicks; n += 1.0) {
    // A label that rounds like the previous one would name the same tick.
    const QString label = text::FormatNumber(n * step, decimals, separators_);
    if (label == previous)
      continue;
    axis->append(label, n * step);
    previous = label;
  }
  axis->setRange(min, max);
}

// Equal scales: the largest scale k (pixels per unit) at which the diagram's
// extent fits the plot area, kBelowAxis pixels kept under tau = 0; then each
// axis runs as far as the plot area reaches at that scale. The plot area
// comes from Qt's layout, which depends on the tick labels, which depend on
// the ranges: two rounds settle it, and the plot area of the second is then
// fixed, so that labels that change once more cannot stretch an axis.
void MohrChartView::Fit() {
  QChart* c = chart();
  const analysis::MohrExtent extent =
      diagram_.has_value() ? analysis::DiagramExtent(diagram_->values, diagram_->joint, kMargin)
                           : analysis::MohrExtent{0.0, 1.0, 0.5};
  const double span = extent.sigmaMax - extent.sigmaMin;
  const double centre = extent.sigmaMin / 2.0 + extent.sigmaMax / 2.0;

  double sigmaMin = extent.sigmaMin;
  double sigmaMax = extent.sigmaMax;
  const auto apply = [&](const QSizeF& room) {
    const double width = std::max(room.width(), 1.0);
    const double height = std::max(room.height() - kBelowAxis, 1.0);
    const double scale = std::min(width / span, height / extent.tauMax);
    const double step = NiceStep(kTickSpacing / scale);
    if (!std::isfinite(scale) || !(step > 0.0) || !std::isfinite(step))
      return;  // an extent beyond what doubles can scale keeps the last axes
    scale_ = scale;
    sigmaMin = centre - width / (2.0 * scale_);
    sigmaMax = centre + width / (2.0 * scale_);
    SetAxis(axisSigma_, sigmaMin, sigmaMax, step);
    SetAxis(axisTau_, -kBelowAxis / scale_, height / scale_, step);
  };

  c->setPlotArea(QRectF());
  apply(c->plotArea().size());
  QGraphicsLayout* layout = c->layout();
  layout->activate();
  apply(c->plotArea().size());
  layout->activate();
  const QRectF room = c->plotArea();
  apply(room.size());
  c->setPlotArea(room);
  layout->invalidate();
  layout->activate();

  if (diagram_.has_value() && diagram_->joint.has_value()) {
    const stress::JointPlane& j = diagram_->strength;
    limit_->replace(ToQPoints(analysis::LimitLine(j.c, j.phi, sigmaMin, sigmaMax)));
  }
}

}  // namespace ui
