// The Mohr geometry: circles of degenerate states, the half-circles and the
// admissible region's outline, the limit line, the extent of a diagram,
// the axes and their ticks.

#include "analysis/mohr_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "test_names.h"

namespace {

using analysis::MohrCircle;
using analysis::MohrPoint;
using test_names::RowName;

struct CircleCase {
  const char* name;
  stress::PrincipalValues values;
  std::array<MohrCircle, 3> circles;  // (s1, s3), (s1, s2), (s2, s3)
};

const CircleCase kCircleCases[] = {
    {"three values", {8, 3, -1}, {{{3.5, 4.5}, {5.5, 2.5}, {1, 2}}}},
    {"repeated larger pair", {5, 5, 2}, {{{3.5, 1.5}, {5, 0}, {3.5, 1.5}}}},
    {"repeated smaller pair", {5, 2, 2}, {{{3.5, 1.5}, {3.5, 1.5}, {2, 0}}}},
    {"hydrostatic", {-4, -4, -4}, {{{-4, 0}, {-4, 0}, {-4, 0}}}},
};

class CircleTest : public ::testing::TestWithParam<CircleCase> {};

// Every point of a half-circle lies on its circle in the upper half-plane,
// from left to right; the ends are exactly the two values; a circle of radius
// 0 is one point repeated.
TEST_P(CircleTest, CirclesAndTheirHalvesMatch) {
  const CircleCase& c = GetParam();
  const auto circles = analysis::MohrCircles(c.values);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(circles[i].centre, c.circles[i].centre) << i;
    EXPECT_EQ(circles[i].radius, c.circles[i].radius) << i;
    const std::vector<MohrPoint> half = analysis::HalfCircle(circles[i], 36);
    ASSERT_EQ(half.size(), 37u);
    EXPECT_EQ(half.front().sigma, c.circles[i].centre - c.circles[i].radius);
    EXPECT_EQ(half.back().sigma, c.circles[i].centre + c.circles[i].radius);
    EXPECT_EQ(half.front().tau, 0.0);
    EXPECT_EQ(half.back().tau, 0.0);
    for (std::size_t k = 0; k < half.size(); ++k) {
      const MohrPoint& p = half[k];
      EXPECT_NEAR(std::hypot(p.sigma - circles[i].centre, p.tau), circles[i].radius, 1e-14);
      EXPECT_GE(p.tau, 0.0);
      if (k > 0) {
        EXPECT_GE(p.sigma, half[k - 1].sigma);
      }
    }
  }
  // The region's outline: both edges from s3 to s1, the lower through s2.
  const analysis::AdmissibleRegion region = analysis::AdmissibleBoundary(c.values, 36);
  ASSERT_EQ(region.upper.size(), 37u);
  ASSERT_EQ(region.lower.size(), 73u);
  for (const auto* edge : {&region.upper, &region.lower}) {
    EXPECT_EQ(edge->front().sigma, c.values.s3);
    EXPECT_EQ(edge->back().sigma, c.values.s1);
  }
  EXPECT_EQ(region.lower[36].sigma, c.values.s2);
  EXPECT_EQ(region.lower[36].tau, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Table, CircleTest, ::testing::ValuesIn(kCircleCases), RowName());

struct LimitCase {
  const char* name;
  double c, phi, sigmaMin, sigmaMax;
  std::vector<MohrPoint> line;
};

const LimitCase kLimitCases[] = {
    {"all in tension", 1, 14, -3, -1, {{-3, 0}, {-1, 0}}},
    {"across zero with the cut-off", 1, 45, -2, 3, {{-2, 0}, {0, 0}, {0, 1}, {3, 4}}},
    {"ending at zero", 1, 30, -1, 0, {{-1, 0}, {0, 0}, {0, 1}}},
    {"all in compression", 2, 0, 1, 5, {{1, 2}, {5, 2}}},
    {"starting at zero", 0.5, 45, 0, 2, {{0, 0.5}, {2, 2.5}}},
};

class LimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitTest, MatchesTable) {
  const LimitCase& c = GetParam();
  const std::vector<MohrPoint> line = analysis::LimitLine(c.c, c.phi, c.sigmaMin, c.sigmaMax);
  ASSERT_EQ(line.size(), c.line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    EXPECT_EQ(line[i].sigma, c.line[i].sigma) << i;
    EXPECT_NEAR(line[i].tau, c.line[i].tau, 1e-15) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LimitTest, ::testing::ValuesIn(kLimitCases), RowName());

struct BandCase {
  const char* name;
  std::vector<MohrPoint> line;
  double low, high;
  std::vector<MohrPoint> clamped;
};

const BandCase kBandCases[] = {
    {"inside stays as it is",
     {{-2, 0}, {0, 0}, {0, 1}, {3, 4}},
     -1,
     10,
     {{-2, 0}, {0, 0}, {0, 1}, {3, 4}}},
    {"a steep line is cut at the top", {{0, 1}, {10, 1001}}, -1, 11, {{0, 1}, {0.1, 11}, {10, 11}}},
    {"a cohesion above the band runs along its edge",
     {{-2, 0}, {0, 0}, {0, 50}, {4, 30}},
     -5,
     20,
     {{-2, 0}, {0, 0}, {0, 20}, {4, 20}}},
    {"a line coming down through the band",
     {{0, 50}, {10, -50}},
     -5,
     20,
     {{0, 20}, {3, 20}, {5.5, -5}, {10, -5}}},
};

class BandTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandTest, KeepsWhatLiesInTheBand) {
  const BandCase& c = GetParam();
  const std::vector<MohrPoint> clamped = analysis::ClampToTauBand(c.line, c.low, c.high);
  ASSERT_EQ(clamped.size(), c.clamped.size());
  for (std::size_t i = 0; i < clamped.size(); ++i) {
    EXPECT_NEAR(clamped[i].sigma, c.clamped[i].sigma, 1e-12) << i;
    EXPECT_NEAR(clamped[i].tau, c.clamped[i].tau, 1e-12) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BandTest, ::testing::ValuesIn(kBandCases), RowName());

struct ExtentCase {
  const char* name;
  stress::PrincipalValues values;
  std::optional<MohrPoint> joint;
  analysis::MohrExtent extent;
};

// Margin 0.1 of the sigma span.
const ExtentCase kExtentCases[] = {
    {"three values", {8, 3, -2}, std::nullopt, {-3, 9, 6}},
    {"joint inside", {8, 3, -2}, MohrPoint{4, 4}, {-3, 9, 6}},
    {"joint beyond s1 and above", {2, 1, 0}, MohrPoint{3, 2}, {-0.3, 3.3, 2.3}},
    // A single point gets a span of its own size, or 1 at zero.
    {"hydrostatic", {3, 3, 3}, std::nullopt, {1.2, 4.8, 0.3}},
    {"zero state", {0, 0, 0}, std::nullopt, {-0.6, 0.6, 0.1}},
};

class ExtentTest : public ::testing::TestWithParam<ExtentCase> {};

TEST_P(ExtentTest, MatchesTable) {
  const ExtentCase& c = GetParam();
  const analysis::MohrExtent e = analysis::DiagramExtent(c.values, c.joint, 0.1);
  EXPECT_NEAR(e.sigmaMin, c.extent.sigmaMin, 1e-14);
  EXPECT_NEAR(e.sigmaMax, c.extent.sigmaMax, 1e-14);
  EXPECT_NEAR(e.tauMax, c.extent.tauMax, 1e-14);
}

INSTANTIATE_TEST_SUITE_P(Table, ExtentTest, ::testing::ValuesIn(kExtentCases), RowName());

struct StepCase {
  const char* name;
  double wanted;  ///< stress units between ticks at the least
  double step;
  int decimals;
};

const StepCase kStepCases[] = {
    {"one", 1.0, 1.0, 0},
    {"just over one", 1.0001, 2.0, 0},
    {"two and a half", 2.5, 5.0, 0},
    {"just over five", 5.2, 10.0, 0},
    {"tenths", 0.13, 0.2, 1},
    {"thousands", 1234.0, 2000.0, 0},
    {"millionths", 3e-6, 5e-6, 6},
    {"huge", 7e300, 1e301, 0},
};

class StepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepTest, NextOneTwoOrFiveAndItsDecimals) {
  const StepCase& c = GetParam();
  EXPECT_DOUBLE_EQ(analysis::NiceStep(c.wanted), c.step);
  EXPECT_EQ(analysis::StepDecimals(c.step), c.decimals);
}

INSTANTIATE_TEST_SUITE_P(Table, StepTest, ::testing::ValuesIn(kStepCases), RowName());

struct TickCase {
  const char* name;
  double min;
  double max;
  double step;
  std::vector<double> ticks;
};

const TickCase kTickCases[] = {
    {"across zero", -1.3, 2.1, 1.0, {-1, 0, 1, 2}},
    {"ends on ticks", 0.0, 4.0, 2.0, {0, 2, 4}},
    {"none inside", 0.1, 0.4, 0.5, {}},
    {"bounded count", 0.0, 1e6, 1.0, {}},  // kMaxTicks of them, checked below
};

class TickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(TickTest, MultiplesOfTheStepInsideTheRange) {
  const TickCase& c = GetParam();
  const std::vector<double> ticks = analysis::TickValues(c.min, c.max, c.step);
  if (c.max / c.step > analysis::kMaxTicks) {
    ASSERT_EQ(ticks.size(), static_cast<std::size_t>(analysis::kMaxTicks));
    EXPECT_EQ(ticks.front(), c.min);
    return;
  }
  EXPECT_EQ(ticks, c.ticks);
}

INSTANTIATE_TEST_SUITE_P(Table, TickTest, ::testing::ValuesIn(kTickCases), RowName());

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
  const std::optional<analysis::MohrAxes> axes =
      analysis::FitMohrAxes(c.extent, c.width, c.height, c.labelWidth);
  ASSERT_TRUE(axes.has_value());
  EXPECT_DOUBLE_EQ(axes->scale, c.scale);
  EXPECT_DOUBLE_EQ(axes->step, c.step);
  const double width = std::max(c.width, 1.0);
  const double centre = (c.extent.sigmaMin + c.extent.sigmaMax) / 2.0;
  EXPECT_DOUBLE_EQ((axes->sigmaMax - axes->sigmaMin) * axes->scale, width);
  EXPECT_DOUBLE_EQ((axes->sigmaMin + axes->sigmaMax) / 2.0, centre);
  EXPECT_DOUBLE_EQ(-axes->tauMin * axes->scale, analysis::kBelowSigmaAxis);
  EXPECT_DOUBLE_EQ(axes->tauMax * axes->scale, std::max(c.height - analysis::kBelowSigmaAxis, 1.0));
}

INSTANTIATE_TEST_SUITE_P(Table, AxesTest, ::testing::ValuesIn(kAxesCases), RowName());

struct TwoTicksCase {
  const char* name;
  analysis::MohrAxes axes;  ///< at 10 pixels per unit, ticks 5 units (50 pixels) apart
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
  const analysis::MohrAxes axes = analysis::WithTwoTicks(
      c.axes, [&c](double) { return c.labelWidth; }, kLabelHeight);
  EXPECT_DOUBLE_EQ(axes.step, c.step);
  EXPECT_DOUBLE_EQ(axes.tauStep, c.tauStep);
  EXPECT_EQ(axes.sigmaMin, c.axes.sigmaMin);
  EXPECT_EQ(axes.tauMax, c.axes.tauMax);
}

INSTANTIATE_TEST_SUITE_P(Table, TwoTicksTest, ::testing::ValuesIn(kTwoTicksCases), RowName());

TEST(FitMohrAxes, ExtentBeyondDoublesHasNoAxes) {
  EXPECT_FALSE(analysis::FitMohrAxes({-1e308, 1.7e308, 1e308}, 400, 300).has_value());
}

}  // namespace
