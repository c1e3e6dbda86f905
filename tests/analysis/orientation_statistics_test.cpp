// Orientation statistics against a published example, hand-worked rows and
// properties: a rotation of the set rotates its mean, axes and girdle and
// leaves its measures; notations, signs and weights that say the same give
// the same; a great circle is its own girdle; k-means finds separate sets.

#include "analysis/orientation_statistics.h"

#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <vector>

#include "axis_samples.h"
#include "test_names.h"

namespace analysis {
namespace {

using axis_samples::AxisAngle;
using axis_samples::Vector3;
using test_names::RowName;

/// The difference of two azimuths in degrees, in [0, 180].
double AzimuthGap(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return std::min(d, 360.0 - d);
}

// Fisher, Lewis & Embleton (1993), Table B2: 26 directions of remanent
// magnetization (declination, inclination); their mean is 144.2/57.2, with
// kappa 109 and alpha95 2.7 degrees (pages 130 and 132).
TEST(FisherStatistics, FisherLewisEmbletonTableB2) {
  const double declination[] = {122.5, 130.5, 132.5, 148.5, 140.0, 133.0, 157.5, 153.0, 140.0,
                                147.5, 142.0, 163.5, 141.0, 156.0, 139.5, 153.5, 151.5, 147.5,
                                141.0, 143.5, 131.5, 147.5, 147.0, 149.0, 144.0, 139.5};
  const double inclination[] = {55.5, 58.0, 44.0, 56.0, 63.0, 64.5, 53.0, 44.5, 61.5,
                                54.5, 51.0, 56.0, 59.5, 56.5, 54.0, 47.5, 61.0, 58.5,
                                57.0, 67.5, 62.5, 63.5, 55.5, 62.0, 53.5, 58.0};
  std::vector<AnglePair> lines;
  for (int i = 0; i < 26; ++i)
    lines.push_back({declination[i], inclination[i]});
  const FisherStatistics f = ComputeFisherStatistics(MakeAxes(lines, Reading::kTrendPlunge));
  // The book rounds to the digits it prints: half a unit of the last.
  EXPECT_EQ(f.count, 26u);
  EXPECT_DOUBLE_EQ(f.weightSum, 26.0);
  EXPECT_NEAR(f.meanLine.trend, 144.2, 0.05);
  EXPECT_NEAR(f.meanLine.plunge, 57.2, 0.05);
  EXPECT_NEAR(f.kappa, 109, 0.5);
  ASSERT_TRUE(f.alpha.has_value());
  EXPECT_NEAR(*f.alpha, 2.7, 0.05);
  // The mean's plane: the pole plunges 57.2 towards 144.2.
  EXPECT_NEAR(f.meanPlane.dipDirection, 324.2, 0.05);
  EXPECT_NEAR(f.meanPlane.dip, 32.8, 0.05);
  EXPECT_NEAR(f.meanResultantLength, f.resultantLength / 26, 1e-15);
}

struct AxisRow {
  const char* name;
  Reading reading;
  double azimuth;
  double dip;
  double trend;  ///< of the axis, worked by hand
  double plunge;
};

const AxisRow kAxisRows[] = {
    {"dip direction 90 dip 30", Reading::kDipDirectionDip, 90, 30, 270, 60},
    {"strike 0 dips East", Reading::kStrikeDip, 0, 30, 270, 60},
    {"strike 180 dips West", Reading::kStrikeDip, 180, 30, 90, 60},
    {"strike 300 dip 75", Reading::kStrikeDip, 300, 75, 210, 15},
    {"horizontal plane", Reading::kDipDirectionDip, 123, 0, 0, 90},
    {"vertical plane dipping North", Reading::kDipDirectionDip, 0, 90, 180, 0},
    {"line 30 40", Reading::kTrendPlunge, 30, 40, 30, 40},
    {"line pointing up", Reading::kTrendPlunge, 30, -40, 210, 40},
    {"trend past 360", Reading::kTrendPlunge, 390, 10, 30, 10},
    {"horizontal line trends below 180", Reading::kTrendPlunge, 250, 0, 70, 0},
};

class AxisOfReading : public ::testing::TestWithParam<AxisRow> {};

TEST_P(AxisOfReading, PointsDownAlongTheWorkedAxis) {
  const AxisRow& row = GetParam();
  const std::vector<AnglePair> pairs{{row.azimuth, row.dip}};
  const Vector3 axis = MakeAxes(pairs, row.reading)[0].axis;
  const LineAngles line = LineOf(axis);
  EXPECT_LE(axis.z, 0.0);
  EXPECT_NEAR(std::hypot(std::hypot(axis.x, axis.y), axis.z), 1.0, 1e-15);
  // A vertical axis has no trend.
  if (row.plunge < 90) {
    EXPECT_LT(AzimuthGap(line.trend, row.trend), 1e-9);
  }
  EXPECT_NEAR(line.plunge, row.plunge, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Table, AxisOfReading, ::testing::ValuesIn(kAxisRows), RowName());

TEST(AxisOfReading, PlaneOfPoleRoundTrip) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> azimuth(0, 360), dip(0.01, 89.99);
  for (int trial = 0; trial < 2000; ++trial) {
    const double dd = azimuth(random), d = dip(random);
    const PlaneOrientation plane = PlaneNormalTo(PoleOfPlane(dd, d));
    EXPECT_LT(AzimuthGap(plane.dipDirection, dd), 1e-9);
    EXPECT_NEAR(plane.dip, d, 1e-9);
    // The pole of a plane is the line plunging 90 - dip opposite its dip.
    EXPECT_LT(AxisAngle(PoleOfPlane(dd, d), AxisOfLine(dd + 180, 90 - d)), 1e-14);
  }
}

struct WeightRow {
  const char* name;
  double lineTrend, linePlunge, cap;
  double dipDirection, dip;
  double weight;  ///< 1 / |cos theta| by hand, at most the cap
};

const WeightRow kWeightRows[] = {
    {"well along the pole", 0, 90, 10, 40, 0, 1},
    {"60 degrees from the pole", 0, 90, 10, 40, 60, 2},
    {"plane along the well takes the cap", 0, 90, 10, 40, 90, 10},
    {"steep plane past the cap", 0, 90, 10, 40, 89, 10},
    {"a lower cap", 0, 90, 5, 40, 80, 5},
    {"scanline East across a N-S plane", 90, 0, 10, 90, 90, 1},
    {"scanline 45 from the pole", 45, 0, 10, 90, 90, std::sqrt(2.0)},
};

class TerzaghiWeights : public ::testing::TestWithParam<WeightRow> {};

TEST_P(TerzaghiWeights, MatchTheWorkedWeight) {
  const WeightRow& row = GetParam();
  const std::vector<AnglePair> pairs{{row.dipDirection, row.dip}};
  const auto axes = MakeAxes(pairs, Reading::kDipDirectionDip,
                             SamplingLine{row.lineTrend, row.linePlunge, row.cap});
  EXPECT_NEAR(axes[0].weight, row.weight, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Table, TerzaghiWeights, ::testing::ValuesIn(kWeightRows), RowName());

/// Every measure of the two sets agrees within the tolerances of a rotation
/// (below), with the first set's directions turned by `r`.
void ExpectTurned(const std::vector<WeightedAxis>& axes, const axis_samples::Rotation& r) {
  const std::vector<WeightedAxis> turned = axis_samples::Turn(r, axes);
  const EigenAnalysis e = ComputeEigenAnalysis(axes);
  const EigenAnalysis et = ComputeEigenAnalysis(turned);
  const FisherStatistics f = ComputeFisherStatistics(axes);
  const FisherStatistics ft = ComputeFisherStatistics(turned);
  // Each turned axis differs from the exact turn by a few units of 1e-16, so
  // T's entries (at most 1) move by about that: by Weyl's bound the
  // eigenvalues move no more, and an eigenvector by that over its gap. The
  // Fisher sums move by N of those, kappa = (N - 1) / (N - R) by
  // N 1e-16 / (N - R) of itself, 1e-12 for kappa up to 1e3. The solver adds
  // a few 1e-15 of its own to the values (stress/principal_values.h), and an
  // axis carries its own rounding of some 1e-14 however well it stands apart.
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(et.values[i], e.values[i], 1e-14);
    const double gap = std::min(i > 0 ? e.values[i - 1] - e.values[i] : 1.0,
                                i < 2 ? e.values[i] - e.values[i + 1] : 1.0);
    if (gap > 1e-4) {
      EXPECT_LT(AxisAngle(et.axes[i], axis_samples::Turn(r, e.axes[i])), 1e-14 / gap + 1e-13);
    }
  }
  EXPECT_NEAR(e.values[0] + e.values[1] + e.values[2], 1.0, 1e-14);
  ASSERT_EQ(et.woodcockK.has_value(), e.woodcockK.has_value());
  if (e.woodcockK) {
    EXPECT_NEAR(*et.woodcockK, *e.woodcockK, 1e-9 * std::max(1.0, *e.woodcockK));
  }
  ASSERT_EQ(et.woodcockC.has_value(), e.woodcockC.has_value());
  if (e.woodcockC) {
    EXPECT_NEAR(*et.woodcockC, *e.woodcockC, 1e-9);
  }
  // The girdle: the plane whose pole is the turned pi-axis.
  if (e.values[1] - e.values[2] > 1e-4) {
    EXPECT_LT(AxisAngle(PoleOfPlane(et.girdle.dipDirection, et.girdle.dip),
                        axis_samples::Turn(r, e.axes[2])),
              1e-9);
  }
  EXPECT_LT(AxisAngle(ft.mean, axis_samples::Turn(r, f.mean)), 1e-12);
  EXPECT_NEAR(ft.kappa, f.kappa, 1e-12 * f.kappa);
  EXPECT_NEAR(ft.resultantLength, f.resultantLength, 1e-12 * f.weightSum);
  ASSERT_EQ(ft.alpha.has_value(), f.alpha.has_value());
  if (f.alpha) {
    EXPECT_NEAR(*ft.alpha, *f.alpha, 1e-10);
  }
}

struct Family {
  const char* name;
  double kappa;   ///< of each cluster
  int clusters;   ///< 1 or 2 clusters; 0 for a girdle of that scatter
  bool weighted;  ///< random weights from 1 to 10
};

const Family kFamilies[] = {
    {"tight cluster", 300, 1, false},  {"loose cluster", 5, 1, false},
    {"two clusters", 50, 2, false},    {"girdle", 30, 0, false},
    {"weighted cluster", 40, 1, true}, {"weighted girdle", 30, 0, true},
};

std::vector<WeightedAxis> Generate(const Family& family, std::mt19937_64& random) {
  std::vector<WeightedAxis> axes;
  const Vector3 a = axis_samples::UniformDirection(random);
  if (family.clusters == 0) {
    // Directions about a random great circle, each turned off it by a
    // Fisher-like scatter.
    std::uniform_real_distribution<double> angle(0, 2 * M_PI);
    std::normal_distribution<double> off(0, 1 / std::sqrt(family.kappa));
    for (int i = 0; i < 250; ++i) {
      const auto [e1, e2] = axis_samples::Across(a);
      const double t = angle(random), s = off(random);
      axes.push_back({axis_samples::Unit({std::cos(t) * e1.x + std::sin(t) * e2.x + s * a.x,
                                          std::cos(t) * e1.y + std::sin(t) * e2.y + s * a.y,
                                          std::cos(t) * e1.z + std::sin(t) * e2.z + s * a.z}),
                      1.0});
    }
  } else {
    axes = axis_samples::FisherAxes(random, a, family.kappa, 200, 0.4);
    if (family.clusters == 2) {
      const auto more = axis_samples::FisherAxes(random, axis_samples::UniformDirection(random),
                                                 family.kappa, 120, 0.4);
      axes.insert(axes.end(), more.begin(), more.end());
    }
  }
  std::uniform_real_distribution<double> weight(1, 10);
  if (family.weighted)
    for (WeightedAxis& x : axes)
      x.weight = weight(random);
  return axes;
}

class Rotated : public ::testing::TestWithParam<Family> {};

TEST_P(Rotated, StatisticsTurnWithTheSet) {
  std::mt19937_64 random(11);
  for (int trial = 0; trial < 40; ++trial) {
    SCOPED_TRACE(trial);
    const auto axes = Generate(GetParam(), random);
    ExpectTurned(axes, axis_samples::RandomRotation(random));
  }
}

TEST_P(Rotated, EigenvaluesAsASecondSolverFindsThem) {
  std::mt19937_64 random(12);
  for (int trial = 0; trial < 40; ++trial) {
    const auto axes = Generate(GetParam(), random);
    Eigen::Matrix3d t = Eigen::Matrix3d::Zero();
    double n = 0;
    for (const WeightedAxis& a : axes) {
      const Eigen::Vector3d v(a.axis.x, a.axis.y, a.axis.z);
      t += a.weight * v * v.transpose();
      n += a.weight;
    }
    const Eigen::Vector3d values =
        Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d>(t / n).eigenvalues();
    const EigenAnalysis e = ComputeEigenAnalysis(axes);
    // Both are backward stable on entries of at most 1.
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(e.values[i], values[2 - i], 1e-14);
    // A cluster has K > 1, a girdle K < 1.
    ASSERT_TRUE(e.woodcockK.has_value());
    if (GetParam().clusters == 1) {
      EXPECT_GT(*e.woodcockK, 1.0);
    }
    if (GetParam().clusters == 0) {
      EXPECT_LT(*e.woodcockK, 1.0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Families, Rotated, ::testing::ValuesIn(kFamilies), RowName());

TEST(OrientationStatistics, OppositeAxesAreTheSameAxes) {
  std::mt19937_64 random(5);
  for (int trial = 0; trial < 50; ++trial) {
    auto axes = Generate(kFamilies[trial % 6], random);
    const EigenAnalysis e = ComputeEigenAnalysis(axes);
    const FisherStatistics f = ComputeFisherStatistics(axes);
    // Negation is exact and x x^T of -x is that of x, so every sum is the same to the bit.
    for (std::size_t i = 0; i < axes.size(); i += 3)
      axes[i].axis = {-axes[i].axis.x, -axes[i].axis.y, -axes[i].axis.z};
    const EigenAnalysis eo = ComputeEigenAnalysis(axes);
    const FisherStatistics fo = ComputeFisherStatistics(axes);
    EXPECT_EQ(eo.values, e.values);
    EXPECT_EQ(eo.woodcockK, e.woodcockK);
    EXPECT_EQ(fo.kappa, f.kappa);
    EXPECT_EQ(fo.alpha, f.alpha);
    EXPECT_EQ(fo.meanLine.trend, f.meanLine.trend);
    EXPECT_EQ(fo.meanLine.plunge, f.meanLine.plunge);
  }
}

TEST(OrientationStatistics, StrikeAndDipDirectionGiveTheSameRows) {
  std::mt19937_64 random(6);
  std::uniform_real_distribution<double> azimuth(0, 360), dip(0, 90);
  std::vector<AnglePair> byDipDirection, byStrike;
  for (int i = 0; i < 500; ++i) {
    const double dd = azimuth(random), d = dip(random);
    byDipDirection.push_back({dd, d});
    byStrike.push_back({std::fmod(dd + 270, 360), d});
  }
  const auto a = MakeAxes(byDipDirection, Reading::kDipDirectionDip);
  const auto b = MakeAxes(byStrike, Reading::kStrikeDip);
  const FisherStatistics fa = ComputeFisherStatistics(a), fb = ComputeFisherStatistics(b);
  const EigenAnalysis ea = ComputeEigenAnalysis(a), eb = ComputeEigenAnalysis(b);
  // dd + 270 - 270 + 90 rounds the azimuth by at most 1e-13 degrees.
  EXPECT_NEAR(fb.kappa, fa.kappa, 1e-12);
  EXPECT_LT(AxisAngle(fb.mean, fa.mean), 1e-12);
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(eb.values[i], ea.values[i], 1e-14);
}

TEST(OrientationStatistics, WeightsCountAsRepeatedAxes) {
  std::mt19937_64 random(7);
  for (int trial = 0; trial < 30; ++trial) {
    auto axes = axis_samples::FisherAxes(random, axis_samples::UniformDirection(random), 20, 60);
    std::vector<WeightedAxis> repeated;
    for (std::size_t i = 0; i < axes.size(); ++i) {
      axes[i].weight = 1 + i % 3;
      for (int k = 0; k <= static_cast<int>(i % 3); ++k)
        repeated.push_back({axes[i].axis, 1.0});
    }
    const FisherStatistics fw = ComputeFisherStatistics(axes),
                           fr = ComputeFisherStatistics(repeated);
    EXPECT_DOUBLE_EQ(fw.weightSum, static_cast<double>(repeated.size()));
    EXPECT_NEAR(fw.kappa, fr.kappa, 1e-10 * fr.kappa);
    EXPECT_NEAR(*fw.alpha, *fr.alpha, 1e-10);
    EXPECT_LT(AxisAngle(fw.mean, fr.mean), 1e-13);
    const EigenAnalysis ew = ComputeEigenAnalysis(axes), er = ComputeEigenAnalysis(repeated);
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(ew.values[i], er.values[i], 1e-14);
  }
}

TEST(OrientationStatistics, GreatCircleIsItsOwnGirdle) {
  std::mt19937_64 random(8);
  std::uniform_real_distribution<double> angle(0, 2 * M_PI);
  std::normal_distribution<double> off(0, 1e-3);
  for (int trial = 0; trial < 30; ++trial) {
    const Vector3 n = axis_samples::UniformDirection(random);
    const auto [e1, e2] = axis_samples::Across(n);
    std::vector<WeightedAxis> on, near;
    for (int i = 0; i < 200; ++i) {
      const double t = angle(random), s = off(random);
      const Vector3 v{std::cos(t) * e1.x + std::sin(t) * e2.x,
                      std::cos(t) * e1.y + std::sin(t) * e2.y,
                      std::cos(t) * e1.z + std::sin(t) * e2.z};
      on.push_back({v, 1.0});
      near.push_back({axis_samples::Unit({v.x + s * n.x, v.y + s * n.y, v.z + s * n.z}), 1.0});
    }
    // On the circle S3 is rounding residue: K and C have no value.
    const EigenAnalysis exact = ComputeEigenAnalysis(on);
    EXPECT_LT(exact.values[2], kZeroEigenvalue);
    EXPECT_FALSE(exact.woodcockK.has_value());
    EXPECT_FALSE(exact.woodcockC.has_value());
    EXPECT_LT(AxisAngle(exact.axes[2], n), 1e-12);
    EXPECT_LT(AxisAngle(PoleOfPlane(exact.girdle.dipDirection, exact.girdle.dip), n), 1e-12);
    // Scattered by 1e-3 rad: S3 ~ 1e-6 and S1 / S2 ~ 1 + O(1 / sqrt(200)), so
    // K = ln(S1/S2) / ln(S2/S3) is about 0.2 / 13 at most; the girdle's pole
    // is off by about the scatter over sqrt(200).
    const EigenAnalysis scattered = ComputeEigenAnalysis(near);
    ASSERT_TRUE(scattered.woodcockK.has_value());
    EXPECT_LT(*scattered.woodcockK, 0.05);
    EXPECT_LT(AxisAngle(scattered.axes[2], n), 1e-3);
  }
}

TEST(OrientationStatistics, RefusesWhatHasNoStatistics) {
  const std::vector<WeightedAxis> one{{{0, 0, -1}, 1}};
  const std::vector<WeightedAxis> zeroWeight{{{0, 0, -1}, 1}, {{1, 0, 0}, 0}};
  const std::vector<WeightedAxis> two{{{0, 0, -1}, 1}, {{1, 0, 0}, 1}};
  EXPECT_THROW(ComputeEigenAnalysis(one), std::invalid_argument);
  EXPECT_THROW(ComputeFisherStatistics(one), std::invalid_argument);
  EXPECT_THROW(ComputeFisherStatistics(zeroWeight), std::invalid_argument);
  EXPECT_THROW(ComputeFisherStatistics(two, 1.0), std::invalid_argument);
  EXPECT_THROW(ClusterAxes(two, 3, 1), std::invalid_argument);
  // Two axes 90 degrees apart: R = sqrt 2, and 1 - cos alpha =
  // (2 - sqrt 2) / sqrt 2 * (20 - 1) = 7.9 > 2: no cone.
  const FisherStatistics f = ComputeFisherStatistics(two);
  EXPECT_NEAR(f.resultantLength, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(f.kappa, 1 / (2 - std::sqrt(2.0)), 1e-14);
  EXPECT_FALSE(f.alpha.has_value());
}

TEST(ClusterAxes, SeparatesTwoSetsAndRepeatsItself) {
  std::mt19937_64 random(9);
  for (int trial = 0; trial < 20; ++trial) {
    SCOPED_TRACE(trial);
    // Two sets 60 degrees apart with kappa 200 (spread about 4 degrees): no
    // axis of one lies nearer the other's centre. The first is horizontal,
    // so that its axes come in both signs across the horizon.
    const Vector3 a = AxisOfLine(360 * (trial / 20.0), 0);
    const Vector3 b = axis_samples::AtAngle(a, M_PI / 3, 2 * M_PI * trial / 20.0);
    auto axes = axis_samples::FisherAxes(random, a, 200, 150, 0.5);
    const auto other = axis_samples::FisherAxes(random, b, 200, 100, 0.5);
    axes.insert(axes.end(), other.begin(), other.end());
    const AxisSets sets = ClusterAxes(axes, 2, 42);
    // The larger set is numbered 0.
    for (std::size_t i = 0; i < axes.size(); ++i)
      EXPECT_EQ(sets.labels[i], i < 150 ? 0 : 1);
    EXPECT_LT(AxisAngle(sets.centres[0], a), 0.02);
    EXPECT_LT(AxisAngle(sets.centres[1], b), 0.02);
    EXPECT_LE(sets.centres[0].z, 0.0);
    const AxisSets again = ClusterAxes(axes, 2, 42);
    EXPECT_EQ(again.labels, sets.labels);
    EXPECT_EQ(again.centres[0].x, sets.centres[0].x);
    EXPECT_EQ(ClusterAxes(axes, 2, 7).labels, sets.labels);
  }
}

TEST(ClusterAxes, FewerDistinctAxesThanSets) {
  const std::vector<WeightedAxis> axes{{{0, 0, -1}, 1}, {{0, 0, 1}, 1}, {{1, 0, 0}, 1}};
  const AxisSets sets = ClusterAxes(axes, 3, 1);
  EXPECT_EQ(sets.labels[0], sets.labels[1]);
  EXPECT_NE(sets.labels[0], sets.labels[2]);
  EXPECT_EQ(sets.labels[0], 0);  // the heavier set
}

struct RoseRow {
  const char* name;
  std::vector<AnglePair> pairs;
  Reading reading;
  RoseOf what;
  double width;
  std::vector<int> counts;  ///< worked by hand
};

std::vector<int> Bins(int size, std::vector<std::pair<int, int>> filled) {
  std::vector<int> counts(size, 0);
  for (auto [bin, count] : filled)
    counts[bin] = count;
  return counts;
}

const std::vector<AnglePair> kPlanes{{0, 10}, {5, 20}, {10, 30}, {95, 40}, {355, 50}};

const RoseRow kRoseRows[] = {
    // Strikes 270, 275, 280, 5, 265, and each again 180 away.
    {"strikes of dip directions", kPlanes, Reading::kDipDirectionDip, RoseOf::kStrikes, 10,
     Bins(36, {{27, 2}, {28, 1}, {0, 1}, {26, 1}, {9, 2}, {10, 1}, {18, 1}, {8, 1}})},
    {"dip directions", kPlanes, Reading::kDipDirectionDip, RoseOf::kDipDirections, 10,
     Bins(36, {{0, 2}, {1, 1}, {9, 1}, {35, 1}})},
    // The same planes by strike (dip direction - 90).
    {"dip directions of strikes",
     {{270, 10}, {275, 20}, {280, 30}, {5, 40}, {265, 50}},
     Reading::kStrikeDip,
     RoseOf::kDipDirections,
     10,
     Bins(36, {{0, 2}, {1, 1}, {9, 1}, {35, 1}})},
    {"30 degree bins", kPlanes, Reading::kDipDirectionDip, RoseOf::kDipDirections, 30,
     Bins(12, {{0, 3}, {3, 1}, {11, 1}})},
    {"trends both ways",
     {{10, 5}, {190, 5}, {-10, 0}},
     Reading::kTrendPlunge,
     RoseOf::kStrikes,
     20,
     Bins(18, {{0, 2}, {9, 2}, {17, 1}, {8, 1}})},
};

class RoseBins : public ::testing::TestWithParam<RoseRow> {};

TEST_P(RoseBins, CountsAsWorkedByHand) {
  const RoseRow& row = GetParam();
  const RoseDiagram rose = BinRose(row.pairs, row.reading, row.what, row.width, true);
  EXPECT_EQ(rose.counts, row.counts);
  const int largest = *std::max_element(row.counts.begin(), row.counts.end());
  for (std::size_t i = 0; i < rose.counts.size(); ++i)
    EXPECT_DOUBLE_EQ(rose.Radius(i), std::sqrt(static_cast<double>(row.counts[i]) / largest));
}

INSTANTIATE_TEST_SUITE_P(Table, RoseBins, ::testing::ValuesIn(kRoseRows), RowName());

TEST(RoseBins, RadiusAndWidths) {
  const RoseDiagram rose = BinRose(kPlanes, Reading::kDipDirectionDip, RoseOf::kDipDirections);
  EXPECT_EQ(rose.counts.size(), 36u);
  EXPECT_DOUBLE_EQ(rose.Radius(1), 0.5);  // counts, not area-true
  EXPECT_THROW(BinRose(kPlanes, Reading::kDipDirectionDip, RoseOf::kStrikes, 7),
               std::invalid_argument);
  EXPECT_THROW(BinRose(kPlanes, Reading::kDipDirectionDip, RoseOf::kStrikes, 0),
               std::invalid_argument);
  EXPECT_EQ(BinRose({}, Reading::kDipDirectionDip, RoseOf::kStrikes).Radius(0), 0.0);
}

}  // namespace
}  // namespace analysis
