// The painted net: each pole a cross in its colour at the pixel the
// projection gives it, the planes of known axes where they must lie, the
// texts of the net (pole names, axis names, value labels in the user's
// format), and the x axis's name clear of the primitive circle.

#include "figures/net_painter.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "engine/pass.h"
#include "figures/figure_style.h"
#include "figures/net_frame.h"
#include "recording_device.h"
#include "test_names.h"
#include "tinted.h"

namespace {

using figures_testing::TintedNear;
using test_names::RowName;

constexpr QRectF kBox(10.0, 20.0, 340.0, 340.0);

struct NetCase {
  const char* name;
  stress::StressState state;
  std::optional<stress::JointPlane> joint;
  /// The colour at the net's centre (a vertical axis's pole, or a horizontal joint's).
  std::optional<QColor> centre;
  std::vector<const char*> labels;  ///< pole names drawn
};

const NetCase kNetCases[] = {
    {"default inputs", {3.4, 1, 8, 1, -1, 2}, std::nullopt, std::nullopt, {"s1", "s2", "s3"}},
    {"default inputs with the joint",
     {3.4, 1, 8, 1, -1, 2},
     stress::JointPlane{16, 33, 30, 1},
     std::nullopt,
     {"joint", "s1", "s2", "s3"}},
    {"s1 vertical", {1, 2, 3, 0, 0, 0}, std::nullopt, QColor(0, 128, 0), {"s1", "s2", "s3"}},
    {"s3 vertical", {3, 2, 1, 0, 0, 0}, std::nullopt, QColor(0, 0, 255), {"s1", "s2", "s3"}},
    {"horizontal joint",
     {3.4, 1, 8, 1, -1, 2},
     stress::JointPlane{0, 0, 30, 1},
     QColor(0, 0, 0),
     {"joint", "s1", "s2", "s3"}},
};

engine::PassResults Results(const NetCase& c) {
  return engine::RunPass(
      engine::PassInputs::Of(c.state, stress::Azimuth::kClockwiseFromNorth, c.joint));
}

QPointF PixelOf(const QRectF& plot, double x, double y) {
  const double half = plot.width() / 2.0;
  return {plot.center().x() + x / figures::kNetRange * half,
          plot.center().y() - y / figures::kNetRange * half};
}

class NetPainterTest : public ::testing::TestWithParam<NetCase> {};

TEST_P(NetPainterTest, PolesAreCrossesInTheirColoursWhereTheProjectionPutsThem) {
  const NetCase& c = GetParam();
  const engine::PassResults results = Results(c);
  QImage image(400, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  figures::PaintNet(painter, kBox, results, text::Separators{});
  const QRectF plot = figures::NetPlot(painter, kBox);
  painter.end();

  EXPECT_NEAR(plot.width(), plot.height(), 1e-9);
  EXPECT_TRUE(kBox.contains(plot));
  const figures::NetPoints net = figures::NetPointsOf(results);
  ASSERT_EQ(net.poles.Points().size(), c.labels.size());
  for (const projection::NetPoint& pole : net.poles.Points()) {
    const QColor colour(projection::RedOf(pole.colour), projection::GreenOf(pole.colour),
                        projection::BlueOf(pole.colour));
    // Both arms: the cross's colour at its centre and near the end of each arm.
    const QPointF at = PixelOf(plot, pole.x, pole.y);
    EXPECT_TRUE(TintedNear(image, at, colour)) << pole.label;
    EXPECT_TRUE(TintedNear(image, at + QPointF(4.0, 0.0), colour)) << pole.label;
    EXPECT_TRUE(TintedNear(image, at + QPointF(0.0, 4.0), colour)) << pole.label;
  }
  if (c.centre.has_value()) {
    EXPECT_TRUE(TintedNear(image, plot.center(), *c.centre));
  }
  // The primitive circle is the unit circle (where no horizontal plane, a
  // vertical axis's, is traced over it).
  if (!c.centre.has_value()) {
    EXPECT_TRUE(TintedNear(image, PixelOf(plot, 1.0, 0.0), QColor(Qt::black)));
    EXPECT_TRUE(TintedNear(image, PixelOf(plot, -0.6, -0.8), QColor(Qt::black)));
    EXPECT_FALSE(TintedNear(image, PixelOf(plot, -0.63, -0.84), QColor(Qt::black)));
  }
}

TEST_P(NetPainterTest, NamesThePolesAndTheAxes) {
  const NetCase& c = GetParam();
  figures_testing::RecordingDevice device(400, 400);
  QPainter painter(&device);
  figures::PaintNet(painter, kBox, Results(c), text::Separators{QStringLiteral(","), {}});
  painter.end();
  std::vector<std::string> texts;
  for (const figures_testing::DrawnText& t : device.Recorded().texts)
    texts.push_back(t.text.toStdString());
  std::vector<std::string> expected = {"-1,00", "-1,00", "-0,50", "-0,50", "0,00",
                                       "0,00",  "0,50",  "0,50",  "1,00",  "1,00"};
  for (const char* label : c.labels)
    expected.push_back(label);
  expected.push_back("Y (North)");
  expected.push_back("X");
  std::sort(texts.begin(), texts.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(texts, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, NetPainterTest, ::testing::ValuesIn(kNetCases), RowName());

// A pass that stopped before the axes draws the circle alone, and the joint's
// plane when it was read.
TEST(NetPoints, HoldWhatThePassReached) {
  engine::PassInputs inputs =
      engine::PassInputs::Of({3.4, 1, 8, 1, -1, 2}, stress::Azimuth::kClockwiseFromNorth,
                             stress::JointPlane{16, 33, 30, 1});
  inputs[engine::Input::kSz].reset();
  const figures::NetPoints net = figures::NetPointsOf(engine::RunPass(inputs));
  EXPECT_EQ(net.circle.Points().size(), 91u);
  EXPECT_EQ(net.joint.Points().size(), 181u);
  for (const projection::PointList& plane : net.planes)
    EXPECT_TRUE(plane.Points().empty());
  ASSERT_EQ(net.poles.Points().size(), 1u);
  EXPECT_EQ(net.poles.Points().front().label, "joint");
}

struct EastCase {
  const char* name;
  QRectF box;
};

// The report's box (235 points at 96 dots per inch), and smaller and larger.
const EastCase kEastCases[] = {
    {"report", {0.0, 0.0, 313.0, 313.0}},
    {"small", {0.0, 0.0, 180.0, 180.0}},
    {"large", {0.0, 0.0, 600.0, 600.0}},
};

class EastNameTest : public ::testing::TestWithParam<EastCase> {};

// The box of "X" (advance by ascent and descent at its baseline) lies in the
// box, and wholly outside the primitive circle, two pixels from its line.
TEST_P(EastNameTest, StandsClearOfThePrimitiveCircle) {
  const EastCase& c = GetParam();
  figures_testing::RecordingDevice device(1000, 1000);
  QPainter painter(&device);
  figures::PaintNet(painter, c.box, Results(kNetCases[0]), text::Separators{});
  const QRectF plot = figures::NetPlot(painter, c.box);
  painter.end();
  const QFontMetricsF metrics(figures::LabelFont(), &device);
  std::optional<QRectF> east;
  for (const figures_testing::DrawnText& t : device.Recorded().texts) {
    if (t.text == QLatin1String("X")) {
      east = QRectF(t.at.x(), t.at.y() - metrics.ascent(), metrics.horizontalAdvance(t.text),
                    metrics.height());
    }
  }
  ASSERT_TRUE(east.has_value());
  EXPECT_TRUE(c.box.contains(*east));
  // The nearest point of the box to the net's centre.
  const QPointF centre = plot.center();
  const double dx = std::max({east->left() - centre.x(), 0.0, centre.x() - east->right()});
  const double dy = std::max({east->top() - centre.y(), 0.0, centre.y() - east->bottom()});
  const double radius = plot.width() / 2.0 / figures::kNetRange;
  EXPECT_GT(std::hypot(dx, dy), radius + 2.0);
}

INSTANTIATE_TEST_SUITE_P(Table, EastNameTest, ::testing::ValuesIn(kEastCases), RowName());

}  // namespace
