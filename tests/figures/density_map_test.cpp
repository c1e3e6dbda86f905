// The contoured density: round intervals; the bands darken towards a
// cluster and are empty far from it and beyond the net; the lines lie where
// the density itself (evaluated apart from the raster) takes their levels.

#include "figures/density_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "analysis/net_raster.h"
#include "figures/tendency_map.h"
#include "test_names.h"

namespace figures {
namespace {

struct StepCase {
  const char* name;
  double peak;
  double step;
};
const StepCase kStepCases[] = {
    {"tens for a peak near 57", 56.7, 10.0},  // 56.7 / 8 = 7.1
    {"twos for a peak of 13.5", 13.5, 2.0},   // 1.69
    {"an eighth exactly", 16.0, 2.0},
    {"two and a half", 20.0, 2.5},  // 2.5
    {"tenths below 1", 0.5, 0.1},   // 0.0625
    {"none for a flat density", 0.0, 1.0},
    {"none for a density below uniform", -0.4, 1.0},
};
class DensityStepTest : public ::testing::TestWithParam<StepCase> {};
TEST_P(DensityStepTest, IsRound) {
  EXPECT_DOUBLE_EQ(DensityStep(GetParam().peak), GetParam().step);
}
INSTANTIATE_TEST_SUITE_P(Table, DensityStepTest, ::testing::ValuesIn(kStepCases),
                         test_names::RowName());

/// 400 axes within a few degrees of the pole plunging 60 towards 120.
DensityRequest Cluster(analysis::DensityMethod method) {
  std::mt19937_64 random(3407);
  std::normal_distribution<double> spread(0.0, 4.0);
  DensityRequest request;
  request.method = method;
  for (int i = 0; i < 400; ++i)
    request.axes.push_back({analysis::AxisOfLine(120.0 + spread(random), 60.0 + spread(random))});
  return request;
}

/// The net point of the line of `trend` and `plunge`.
QPointF NetPoint(double trend, double plunge) {
  const double r = std::sqrt(1.0 - std::sin(plunge * M_PI / 180.0));
  return {r * std::sin(trend * M_PI / 180.0), r * std::cos(trend * M_PI / 180.0)};
}

class DensityMapTest : public ::testing::TestWithParam<analysis::DensityMethod> {};

TEST_P(DensityMapTest, BandsDarkenTowardsTheClusterAndStopAtTheNet) {
  const analysis::NetRaster grid = PlotGrid(201, 1.1);
  const DensityMap map = MakeDensityMap(Cluster(GetParam()), grid, {}, 1.0);
  ASSERT_FALSE(map.Empty());
  ASSERT_GE(map.levels.size(), 3u);
  const double step = DensityStep(map.peak.value);
  for (std::size_t k = 0; k < map.levels.size(); ++k) {
    EXPECT_DOUBLE_EQ(map.levels[k], (k + 1) * step);
    EXPECT_LT(map.levels[k], map.peak.value);
  }
  EXPECT_GE(map.levels.back() + step, map.peak.value);
  // The band of a pixel: 0 for none, k + 1 for the colour of band k.
  const auto band = [&](QPointF p) {
    const int i = static_cast<int>(std::floor((p.x() - grid.left) / grid.step));
    const int j = static_cast<int>(std::floor((grid.top - p.y()) / grid.step));
    const QRgb colour = map.image.pixel(i, j);
    if (qAlpha(colour) == 0)
      return 0;
    const auto found = std::find(map.bandColours.begin(), map.bandColours.end(), colour);
    EXPECT_NE(found, map.bandColours.end()) << "pixel " << i << ", " << j;
    return static_cast<int>(found - map.bandColours.begin()) + 1;
  };
  // Outward from the cluster's centre along its trend, the bands never
  // rise, from the darkest (or the next: the counting methods' flat top
  // may stand off the centre) to none.
  int last = band(NetPoint(120.0, 60.0));
  EXPECT_GE(last, static_cast<int>(map.levels.size()) - 1);
  for (double plunge = 60.0; plunge >= 20.0; plunge -= 1.0) {
    const int here = band(NetPoint(120.0, plunge));
    EXPECT_LE(here, last + (GetParam() == analysis::DensityMethod::kExponentialKamb ? 0 : 1))
        << "plunge " << plunge;
    last = std::min(last, here);
  }
  EXPECT_EQ(last, 0);
  EXPECT_EQ(band(NetPoint(300.0, 10.0)), 0);  // far from the cluster
  EXPECT_EQ(band(QPointF(1.05, 1.05)), 0);    // beyond the net
  // The bands' colours darken.
  for (std::size_t k = 1; k < map.bandColours.size(); ++k)
    EXPECT_LT(qGray(map.bandColours[k]), qGray(map.bandColours[k - 1]));
}

INSTANTIATE_TEST_SUITE_P(Methods, DensityMapTest,
                         ::testing::Values(analysis::DensityMethod::kExponentialKamb,
                                           analysis::DensityMethod::kKamb,
                                           analysis::DensityMethod::kSchmidt));

// The smooth density along each line at the middle of its segments: within
// what linear interpolation between pixel centres misses. Over a pixel of
// side h the density's second differences are about f h^2 W (f about 90
// here, h = 0.011 in the net, a little more in angle), at most a few
// hundredths of a step of 2 sigma or more; 0.1 step is ample.
TEST(DensityMap, LinesLieAtTheirLevels) {
  const DensityRequest request = Cluster(analysis::DensityMethod::kExponentialKamb);
  const analysis::NetRaster grid = PlotGrid(201, 1.1);
  const DensityMap map = MakeDensityMap(request, grid, {}, 1.0);
  const analysis::PoleDensity density(request.axes, request.method, request.k);
  const double step = DensityStep(map.peak.value);
  ASSERT_EQ(map.lines.size(), map.levels.size());
  for (std::size_t k = 0; k < map.levels.size(); ++k) {
    ASSERT_FALSE(map.lines[k].empty()) << "level " << map.levels[k];
    for (const QLineF& s : map.lines[k]) {
      const QPointF c = s.center();
      EXPECT_NEAR(density.AtNetPoint(c.x(), c.y()), map.levels[k], 0.1 * step)
          << "level " << map.levels[k] << " at " << c.x() << ", " << c.y();
    }
  }
}

TEST(DensityMap, NoAxesNoMap) {
  EXPECT_TRUE(MakeDensityMap({}, PlotGrid(50, 1.1), {}, 1.0).Empty());
}

}  // namespace
}  // namespace figures
