// The Mohr geometry: circles of degenerate states, the half-circles and the
// admissible region's outline, the limit line, the extent of a diagram,
// (the axes and their ticks are figure geometry: tests/geometry).

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

}  // namespace
