// The painted Mohr diagram beside the window's chart: the same tick texts on
// both axes for the same results and plot size, the marks in their colours
// at their sigma, the dashed limit line exactly when the joint was active,
// and the marks' labels whole in the plot, clear of each other and of the
// circles.

#include "figures/mohr_painter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <optional>
#include <string>
#include <vector>

#include "engine/pass.h"
#include "figures/figure_style.h"
#include "recording_device.h"
#include "test_names.h"
#include "ui/charts/mohr_chart.h"
#include "geometry/axes_fit.h"

namespace {

using test_names::RowName;

struct MohrCase {
  const char* name;
  stress::StressState state;
  std::optional<stress::JointPlane> joint;
  text::Separators separators;
  QSize view;                      ///< of the window's chart
  std::vector<const char*> marks;  ///< the marks' labels, s1 to s3, then the joint's
};

const text::Separators kEnglish{QStringLiteral("."), QStringLiteral(",")};
const text::Separators kGerman{QStringLiteral(","), QStringLiteral(".")};

const MohrCase kMohrCases[] = {
    {"default inputs",
     {3.4, 1, 8, 1, -1, 2},
     std::nullopt,
     kEnglish,
     {560, 400},
     {"s1", "s2", "s3"}},
    {"default inputs with the joint",
     {3.4, 1, 8, 1, -1, 2},
     stress::JointPlane{16, 33, 30, 1},
     kEnglish,
     {560, 400},
     {"s1", "s2", "s3", "joint"}},
    {"German separators, wide",
     {2, 2, 5, 0, 0, 0},
     std::nullopt,
     kGerman,
     {900, 300},
     {"s1", "s2 = s3"}},
    {"thousands",
     {12000, -3500, 800, 40, 0, 0},
     std::nullopt,
     kEnglish,
     {500, 330},
     {"s1", "s2", "s3"}},
    {"hydrostatic", {1, 1, 1, 0, 0, 0}, std::nullopt, kEnglish, {400, 300}, {"s1 = s2 = s3"}},
    {"tensile joint",
     {-4, -2, -1, 0, 0, 0},
     stress::JointPlane{0, 45, 25, 0.5},
     kEnglish,
     {600, 380},
     {"s1", "s2", "s3", "joint"}},
};

engine::PassResults Results(const MohrCase& c) {
  return engine::RunPass(
      engine::PassInputs::Of(c.state, stress::Azimuth::kClockwiseFromNorth, c.joint));
}

QStringList ChartLabels(ui::MohrChartView& view, Qt::Orientation orientation) {
  auto* axis = qobject_cast<QCategoryAxis*>(view.chart()->axes(orientation).front());
  return axis == nullptr ? QStringList() : axis->categoriesLabels();
}

class MohrPainterTest : public ::testing::TestWithParam<MohrCase> {};

TEST_P(MohrPainterTest, TickTextsAreTheWindowChartsAtTheSamePlotSize) {
  const MohrCase& c = GetParam();
  const engine::PassResults results = Results(c);
  ui::MohrChartView view;
  view.resize(c.view);
  view.show();
  view.Show(results, c.separators);
  QApplication::processEvents();
  const QSizeF plot = view.chart()->plotArea().size();

  // A box whose plot is the chart's: the frame's margins, measured once, added.
  figures_testing::RecordingDevice device(2000, 2000);
  QPainter painter(&device);
  QRectF box(0.0, 0.0, c.view.width(), c.view.height());
  for (int round = 0; round < 2; ++round) {
    const QSizeF now = figures::MohrFrameOf(painter, box, results, c.separators).plot.size();
    box.setSize(box.size() + plot - now);
  }
  const figures::MohrFrame frame = figures::MohrFrameOf(painter, box, results, c.separators);
  ASSERT_NEAR(frame.plot.width(), plot.width(), 1e-6);
  ASSERT_NEAR(frame.plot.height(), plot.height(), 1e-6);
  ASSERT_TRUE(frame.axes.has_value());
  EXPECT_NEAR(frame.axes->scale, view.Scale(), 1e-9 * view.Scale());
  figures::PaintMohr(painter, box, results, c.separators);
  painter.end();

  // Below the plot: sigma's labels, left to right; left of it: tau's, bottom up.
  QStringList sigma;
  QStringList tau;
  const QRegularExpression number(QStringLiteral("^-?[0-9.,]+$"));
  for (const figures_testing::DrawnText& t : device.Recorded().texts) {
    if (!number.match(t.text).hasMatch())
      continue;
    if (t.at.y() > frame.plot.bottom())
      sigma.append(t.text);
    else if (t.at.x() < frame.plot.left())
      tau.append(t.text);
  }
  EXPECT_EQ(sigma, ChartLabels(view, Qt::Horizontal));
  EXPECT_EQ(tau, ChartLabels(view, Qt::Vertical));
  EXPECT_FALSE(sigma.isEmpty());
}

TEST_P(MohrPainterTest, LimitLineIsDashedAndDrawnOnlyWithTheJoint) {
  const MohrCase& c = GetParam();
  figures_testing::RecordingDevice device(1000, 1000);
  QPainter painter(&device);
  figures::PaintMohr(painter, QRectF(0, 0, c.view.width(), c.view.height()), Results(c),
                     c.separators);
  painter.end();
  int dashed = 0;
  for (const figures_testing::DrawnLine& line : device.Recorded().lines)
    dashed += line.pen.style() == Qt::DashLine ? 1 : 0;
  EXPECT_EQ(dashed, c.joint.has_value() ? 1 : 0);
  std::vector<std::string> marks;
  for (const figures_testing::DrawnText& t : device.Recorded().texts) {
    if (t.text.startsWith(QLatin1String("s")) || t.text == QLatin1String("joint"))
      marks.push_back(t.text.toStdString());
  }
  const std::vector<std::string> expected(c.marks.begin(), c.marks.end());
  EXPECT_EQ(marks, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, MohrPainterTest, ::testing::ValuesIn(kMohrCases), RowName());

// Each principal value's cross is centred on its sigma on tau = 0, in its colour.
TEST(MohrPainter, MarksStandAtTheirSigmaInTheirColours) {
  const engine::PassResults results =
      engine::RunPass(engine::PassInputs::Of({3.4, 1, 8, 1, -1, 2}, stress::Azimuth{}));
  figures_testing::RecordingDevice device(600, 400);
  QPainter painter(&device);
  const QRectF box(0, 0, 600, 400);
  figures::PaintMohr(painter, box, results, kEnglish);
  const figures::MohrFrame frame = figures::MohrFrameOf(painter, box, results, kEnglish);
  painter.end();
  ASSERT_TRUE(frame.axes.has_value());
  const geometry::MohrAxes& axes = *frame.axes;
  const QColor colours[] = {QColor(0, 128, 0), QColor(255, 0, 0), QColor(0, 0, 255)};
  for (int i = 0; i < 3; ++i) {
    const double sigma = (*results.values)[i];
    const QPointF at(frame.plot.left() + (sigma - axes.sigmaMin) * axes.scale,
                     frame.plot.bottom() + axes.tauMin * axes.scale);
    std::vector<QPointF> centres;
    for (const figures_testing::DrawnLine& line : device.Recorded().lines) {
      if (line.pen.color() == colours[i] && line.points.size() == 2)
        centres.push_back((line.points[0] + line.points[1]) / 2.0);
    }
    ASSERT_EQ(centres.size(), 2u) << i;  // the two arms
    for (const QPointF& centre : centres) {
      EXPECT_NEAR(centre.x(), at.x(), 1e-6) << i;
      EXPECT_NEAR(centre.y(), at.y(), 1e-6) << i;
    }
  }
}

// ---------------------------------------------------------------------------
// The marks' labels, with the joint active: sizes of the window's chart, the
// smallest (the Mohr window's at its minimum) and a wide one among them.

struct LabelCase {
  const char* name;
  stress::StressState state;
  QSize view;
  std::vector<const char*> labels;  ///< as drawn
};

const stress::JointPlane kJoint{16, 33, 30, 1};

const LabelCase kLabelCases[] = {
    {"hydrostatic", {5, 5, 5, 0, 0, 0}, {545, 258}, {"s1 = s2 = s3", "joint"}},
    {"hydrostatic at the smallest", {5, 5, 5, 0, 0, 0}, {345, 120}, {"s1 = s2 = s3", "joint"}},
    {"repeated pair", {10, 10, 5, 0, 0, 0}, {545, 258}, {"s1 = s2", "s3", "joint"}},
    {"repeated pair, wide and low", {10, 10, 5, 0, 0, 0}, {1184, 120}, {"s1 = s2", "s3", "joint"}},
    {"general", {3.4, 1, 8, 1, -1, 2}, {609, 258}, {"s1", "s2", "s3", "joint"}},
    {"general at the smallest", {3.4, 1, 8, 1, -1, 2}, {409, 120}, {"s1", "s2", "s3", "joint"}},
};

engine::PassResults Results(const LabelCase& c) {
  return engine::RunPass(
      engine::PassInputs::Of(c.state, stress::Azimuth::kClockwiseFromNorth, kJoint));
}

struct ShownLabel {
  std::string text;
  QRectF box;
};

/// No label leaves `plot`, and no two share more than an edge.
void ExpectWholeAndApart(const std::vector<ShownLabel>& labels, const QRectF& plot) {
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_TRUE(plot.contains(labels[i].box)) << labels[i].text;
    for (std::size_t k = 0; k < i; ++k) {
      EXPECT_FALSE(labels[i].box.intersects(labels[k].box))
          << labels[i].text << " over " << labels[k].text;
    }
  }
}

std::vector<std::string> Texts(const std::vector<ShownLabel>& labels) {
  std::vector<std::string> texts;
  for (const ShownLabel& label : labels)
    texts.push_back(label.text);
  return texts;
}

class MohrLabelTest : public ::testing::TestWithParam<LabelCase> {};

// The painted labels' boxes (advance by ascent and descent at their baseline)
// lie in the plot, apart, and no circle passes through one.
TEST_P(MohrLabelTest, PaintedLabelsAreWholeApartAndOffTheCircles) {
  const LabelCase& c = GetParam();
  const engine::PassResults results = Results(c);
  figures_testing::RecordingDevice device(2000, 2000);
  QPainter painter(&device);
  const QRectF box(QPointF(0, 0), c.view);
  const figures::MohrFrame frame = figures::MohrFrameOf(painter, box, results, kEnglish);
  figures::PaintMohr(painter, box, results, kEnglish);
  painter.end();

  const QFontMetricsF metrics(figures::LabelFont(), &device);
  std::vector<ShownLabel> labels;
  for (const figures_testing::DrawnText& t : device.Recorded().texts) {
    if (t.text.startsWith(QLatin1String("s")) || t.text == QLatin1String("joint")) {
      labels.push_back(
          {t.text.toStdString(), QRectF(t.at.x(), t.at.y() - metrics.ascent(),
                                        metrics.horizontalAdvance(t.text), metrics.height())});
    }
  }
  EXPECT_EQ(Texts(labels), std::vector<std::string>(c.labels.begin(), c.labels.end()));
  ExpectWholeAndApart(labels, frame.plot);
  for (const figures_testing::DrawnLine& line : device.Recorded().lines) {
    if (line.pen.color() != figures::kMohrCircleColour)
      continue;
    for (const ShownLabel& label : labels) {
      for (const QPointF& p : line.points)
        EXPECT_FALSE(label.box.contains(p)) << label.text << " on a circle";
    }
  }
}

// The window's chart: its label texts, where the view draws them, lie in the
// plot area and apart, and each shows there in black.
TEST_P(MohrLabelTest, ChartLabelsAreWholeApartAndShown) {
  const LabelCase& c = GetParam();
  ui::MohrChartView view;
  view.resize(c.view);
  view.show();
  view.Show(Results(c), kEnglish);
  QApplication::processEvents();
  const QImage image = view.grab().toImage();
  const auto inView = [&view](const QRectF& scene) {
    return view.viewportTransform().mapRect(scene).translated(view.viewport()->pos());
  };

  std::vector<ShownLabel> labels;
  for (QGraphicsItem* item : view.scene()->items(Qt::AscendingOrder)) {
    auto* text = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item);
    if (text != nullptr && text->isVisible())
      labels.push_back({text->text().toStdString(), inView(text->sceneBoundingRect())});
  }
  std::sort(labels.begin(), labels.end(),
            [](const ShownLabel& a, const ShownLabel& b) { return a.text < b.text; });
  std::vector<std::string> expected(c.labels.begin(), c.labels.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Texts(labels), expected);
  ExpectWholeAndApart(labels, inView(view.chart()->mapRectToScene(view.chart()->plotArea())));
  for (const ShownLabel& label : labels) {
    int dark = 0;
    const QRect pixels = label.box.toAlignedRect() & image.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
      for (int x = pixels.left(); x <= pixels.right(); ++x)
        dark += image.pixelColor(x, y).lightness() < 80 ? 1 : 0;
    }
    EXPECT_GE(dark, 10) << label.text;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, MohrLabelTest, ::testing::ValuesIn(kLabelCases), RowName());

}  // namespace
