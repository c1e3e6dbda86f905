// The painted Mohr diagram beside the window's chart: the same tick texts on
// both axes for the same results and plot size, the marks in their colours
// at their sigma, and the dashed limit line exactly when the joint was active.

#include "figures/mohr_painter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <optional>
#include <string>
#include <vector>

#include "engine/pass.h"
#include "recording_device.h"
#include "test_names.h"
#include "ui/charts/mohr_chart.h"

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
  const analysis::MohrAxes& axes = *frame.axes;
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

}  // namespace
