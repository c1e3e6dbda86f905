// The Mohr diagram's axes fitted to a plot: equal scales centred on the
// extent, and finer steps where an axis would show one tick.

#include "geometry/axes_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/steps.h"
#include "test_names.h"

namespace {

using namespace geometry;
using analysis::MohrExtent;
using test_names::RowName;

struct AxesCase {
  const char* name;
  analysis::MohrExtent extent;
  double width;   ///< pixels of the plot
  double height;  ///< pixels of the plot, kBelowSigmaAxis of them under tau = 0
  double scale;
  double step;
  double labelWidth = 0.0;
};

const AxesCase kAxesCases[] = {
    // Width limits: 400 / 10 = 40 < (208 - 8) / 4 = 50.
    {"wide extent", {-1, 9, 4}, 400, 208, 40, 2},
    // Height limits: (108 - 8) / 5 = 20 < 400 / 10.
    {"tall extent", {0, 10, 5}, 400, 108, 20, 5},
    // Labels 70 pixels wide need 82 between ticks: 5 units, 100 pixels.
    {"tall extent with wide labels", {0, 10, 5}, 400, 108, 20, 5, 70},
    {"wide extent with wide labels", {-1, 9, 4}, 400, 208, 40, 2, 60},
    {"wide extent with wider labels", {-1, 9, 4}, 400, 208, 40, 5, 70},
    {"tiny plot", {0, 1, 0.5}, 0, 0, 1, 50},
};

class AxesTest : public ::testing::TestWithParam<AxesCase> {};

TEST_P(AxesTest, EqualScalesCentredOnTheExtent) {
  const AxesCase& c = GetParam();
  const std::optional<geometry::MohrAxes> axes =
      geometry::FitMohrAxes(c.extent, c.width, c.height, c.labelWidth);
  ASSERT_TRUE(axes.has_value());
  EXPECT_DOUBLE_EQ(axes->scale, c.scale);
  EXPECT_DOUBLE_EQ(axes->step, c.step);
  const double width = std::max(c.width, 1.0);
  const double centre = (c.extent.sigmaMin + c.extent.sigmaMax) / 2.0;
  EXPECT_DOUBLE_EQ((axes->sigmaMax - axes->sigmaMin) * axes->scale, width);
  EXPECT_DOUBLE_EQ((axes->sigmaMin + axes->sigmaMax) / 2.0, centre);
  EXPECT_DOUBLE_EQ(-axes->tauMin * axes->scale, geometry::kBelowSigmaAxis);
  EXPECT_DOUBLE_EQ(axes->tauMax * axes->scale, std::max(c.height - geometry::kBelowSigmaAxis, 1.0));
}

INSTANTIATE_TEST_SUITE_P(Table, AxesTest, ::testing::ValuesIn(kAxesCases), RowName());

struct TwoTicksCase {
  const char* name;
  geometry::MohrAxes axes;  ///< at 10 pixels per unit, ticks 5 units (50 pixels) apart
  double labelWidth;        ///< of the widest sigma label, pixels
  double step;
  double tauStep;
};

// Tau labels 13 pixels tall: ticks 17 pixels apart at least.
constexpr double kLabelHeight = 13.0;

const TwoTicksCase kTwoTicksCases[] = {
    {"two on each axis", {10, -1, 20, -0.8, 10, 5, 5}, 7, 5, 5},
    // 45 pixels above tau = 0: a step of 2 (20 pixels) fits "0", "2", "4".
    {"low plot", {10, -1, 40, -0.8, 4.5, 5, 5}, 7, 2, 2},
    {"narrow plot", {10, 1, 9.5, -0.8, 20, 5, 5}, 7, 2, 2},
    // Sigma labels 40 pixels wide need 52 between ticks: tau alone goes finer.
    {"low plot with wide labels", {10, -1, 40, -0.8, 4.5, 5, 5}, 40, 5, 2},
    // 15 pixels above tau = 0: no tau labels fit twice.
    {"too low for two tau labels", {10, -1, 40, -0.8, 1.5, 5, 5}, 7, 5, 5},
};

class TwoTicksTest : public ::testing::TestWithParam<TwoTicksCase> {};

TEST_P(TwoTicksTest, FinerStepsWhereAnAxisHasOneTick) {
  const TwoTicksCase& c = GetParam();
  const geometry::MohrAxes axes = geometry::WithTwoTicks(
      c.axes, [&c](double) { return c.labelWidth; }, kLabelHeight);
  EXPECT_DOUBLE_EQ(axes.step, c.step);
  EXPECT_DOUBLE_EQ(axes.tauStep, c.tauStep);
  EXPECT_EQ(axes.sigmaMin, c.axes.sigmaMin);
  EXPECT_EQ(axes.tauMax, c.axes.tauMax);
}

INSTANTIATE_TEST_SUITE_P(Table, TwoTicksTest, ::testing::ValuesIn(kTwoTicksCases), RowName());

TEST(FitMohrAxes, ExtentBeyondDoublesHasNoAxes) {
  EXPECT_FALSE(geometry::FitMohrAxes({-1e308, 1.7e308, 1e308}, 400, 300).has_value());
}

}  // namespace
