// Pole densities against their sums taken over every axis (the moments by
// quadrature), a uniform sample's mean and spread, a symmetric cluster's
// peak, rotations of the set, and the equal-area net's pixels.

#include "analysis/pole_density.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

#include "axis_samples.h"
#include "projection/equal_area.h"
#include "test_names.h"

namespace analysis {
namespace {

using axis_samples::AxisAngle;
using axis_samples::Vector3;
using test_names::RowName;

constexpr double kDegree = M_PI / 180;

/// The density at u summed over every axis, as each method defines it; the
/// exponential kernel's uniform moments by Simpson's rule over |cos| in
/// [0, 1]: its error h^4 f^4 / 180 against moments of about 1 / f is below
/// 1e-13 of them for f up to 700.
class DirectDensity {
 public:
  DirectDensity(const std::vector<WeightedAxis>& axes, DensityMethod method, double k)
      : axes_(axes), method_(method) {
    for (const WeightedAxis& a : axes) {
      n_ += a.weight;
      squares_ += a.weight * a.weight;
    }
    f_ = 2 * (1 + n_ / (k * k));
    area_ = method == DensityMethod::kKamb ? k * k / (n_ + k * k) : 0.01;
    const int steps = 2000000;
    long double m1 = 0, m2 = 0;
    for (int i = 0; i <= steps && method == DensityMethod::kExponentialKamb; ++i) {
      const long double g = std::exp(f_ * (static_cast<double>(i) / steps - 1));
      const int simpson = (i == 0 || i == steps) ? 1 : (i % 2 == 1 ? 4 : 2);
      m1 += simpson * g;
      m2 += simpson * g * g;
    }
    m1_ = static_cast<double>(m1 / (3.0L * steps));
    m2_ = static_cast<double>(m2 / (3.0L * steps));
  }

  /// The kernel sum or the count at u.
  double Sum(const Vector3& u) const {
    double sum = 0;
    for (const WeightedAxis& a : axes_) {
      const double c = std::fabs(axis_samples::Dot(u, axis_samples::Unit(a.axis)));
      if (method_ == DensityMethod::kExponentialKamb)
        sum += a.weight * std::exp(f_ * (c - 1));
      else
        sum += c >= 1 - area_ ? a.weight : 0;
    }
    return sum;
  }

  /// The bound on the difference of two computations of the density at u.
  /// An exponential term's cosine rounds by about 2^-52, which moves its
  /// value by f 2^-52 of itself (4 f 2^-52 for both computations and the
  /// kernel's own rounding); the cut leaves out at most N e^-36.84; all in
  /// sigma, and 1e-13 of the value for the normalisation. Counts differ by
  /// the sums' rounding alone.
  double Bound(const Vector3& u) const {
    if (method_ != DensityMethod::kExponentialKamb)
      return 1e-12 * std::max(1.0, std::fabs(At(u)));
    const double sigma = std::sqrt((m2_ - m1_ * m1_) * squares_);
    return (4 * f_ * 0x1p-52 * Sum(u) + n_ * 1e-16) / sigma +
           1e-13 * std::max(1.0, std::fabs(At(u)));
  }

  double At(const Vector3& u) const {
    const double sum = Sum(u);
    if (method_ == DensityMethod::kExponentialKamb)
      return (sum - n_ * m1_) / std::sqrt((m2_ - m1_ * m1_) * squares_);
    if (method_ == DensityMethod::kSchmidt)
      return 100 * sum / n_;
    return (sum - n_ * area_) / std::sqrt(area_ * (1 - area_) * squares_);
  }

 private:
  const std::vector<WeightedAxis>& axes_;
  DensityMethod method_;
  double n_ = 0, squares_ = 0, f_ = 0, area_ = 0, m1_ = 0, m2_ = 0;
};

struct SumRow {
  const char* name;
  DensityMethod method;
  int count;
  double kappa;  ///< 0 for a uniform sample
  bool weighted;
  double k;
};

const SumRow kSumRows[] = {
    {"exponential uniform 2000", DensityMethod::kExponentialKamb, 2000, 0, false, 3},
    {"exponential cluster 3000", DensityMethod::kExponentialKamb, 3000, 30, false, 3},
    {"exponential tight weighted", DensityMethod::kExponentialKamb, 1500, 3000, true, 3},
    {"exponential few, no cut", DensityMethod::kExponentialKamb, 12, 5, false, 3},
    {"exponential k 2", DensityMethod::kExponentialKamb, 800, 10, true, 2},
    {"kamb uniform 2000", DensityMethod::kKamb, 2000, 0, false, 3},
    {"kamb cluster weighted", DensityMethod::kKamb, 3000, 20, true, 3},
    {"kamb few", DensityMethod::kKamb, 7, 2, false, 3},
    {"kamb k 1.5", DensityMethod::kKamb, 900, 8, false, 1.5},
    {"schmidt uniform 3000", DensityMethod::kSchmidt, 3000, 0, false, 3},
    {"schmidt tight cluster", DensityMethod::kSchmidt, 2000, 1000, false, 3},
    {"schmidt weighted", DensityMethod::kSchmidt, 1000, 15, true, 3},
};

class DensitySums : public ::testing::TestWithParam<SumRow> {};

TEST_P(DensitySums, MatchTheSumOverEveryAxis) {
  const SumRow& row = GetParam();
  std::mt19937_64 random(21);
  // Clusters about directions near the horizon too, where an axis's two
  // signs fall on opposite sides of the net.
  const Vector3 centre = axis_samples::Unit({0.9, 0.3, -0.1});
  std::vector<WeightedAxis> axes =
      row.kappa > 0 ? axis_samples::FisherAxes(random, centre, row.kappa, row.count, 0.5)
                    : axis_samples::UniformAxes(random, row.count);
  std::uniform_real_distribution<double> weight(1, 10);
  for (WeightedAxis& a : axes) {
    a.axis = {2 * a.axis.x, 2 * a.axis.y, 2 * a.axis.z};  // any length is taken as its direction
    if (row.weighted)
      a.weight = weight(random);
  }
  const PoleDensity density(axes, row.method, row.k);
  const DirectDensity direct(axes, row.method, row.k);
  for (int trial = 0; trial < 300; ++trial) {
    // Half the directions near the set's centre, where the sums are large.
    const Vector3 u = trial % 2 == 0 ? axis_samples::UniformDirection(random)
                                     : axis_samples::FisherAxes(random, centre, 50, 1)[0].axis;
    // Counts are exact but for a cosine on the cap's edge, which random
    // directions miss.
    EXPECT_NEAR(density.At(u), direct.At(u), direct.Bound(u));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, DensitySums, ::testing::ValuesIn(kSumRows), RowName());

TEST(PoleDensity, ExpectedCountIsKSigma) {
  // Kamb's cap is chosen so that E = k sigma; the exponential kernel's f so
  // that E / sigma -> k as f grows (f > 100 leaves e^-f and 1/f^2 terms out).
  for (const int n : {10, 100, 5000, 100000}) {
    std::mt19937_64 random(n);
    const auto axes = axis_samples::UniformAxes(random, n);
    for (const double k : {1.0, 2.0, 3.0}) {
      const PoleDensity kamb(axes, DensityMethod::kKamb, k);
      EXPECT_NEAR(kamb.Expected() / kamb.Sigma(), k, 1e-12);
      const PoleDensity smooth(axes, DensityMethod::kExponentialKamb, k);
      if (smooth.WeightSum() / (k * k) > 50) {
        EXPECT_NEAR(smooth.Expected() / smooth.Sigma(), k, 1e-12 * k);
      }
    }
  }
}

struct UniformRow {
  const char* name;
  DensityMethod method;
  double mean;  ///< of the density over the net
  double meanBound;
  double spread;  ///< its standard deviation
  double spreadBound;
};

// 5000 uniform axes. A density over the hemisphere averages to E exactly for
// any sample, so its mean over the net's equal-area pixels is 0 sigma (or
// 1 %) to the raster's quadrature. At each direction its spread over
// samples is 1 sigma, by the uniform moments (Schmidt: 100 sqrt(0.01 0.99 /
// N) = 0.14 %). Over the net that spread is seen through about f (1113) or
// 1 / A (556, Kamb; 100, Schmidt) independent regions: the bounds are at least
// five of the resulting standard errors.
const UniformRow kUniformRows[] = {
    {"exponential Kamb", DensityMethod::kExponentialKamb, 0, 0.15, 1, 0.25},
    {"Kamb", DensityMethod::kKamb, 0, 0.2, 1, 0.3},
    {"Schmidt", DensityMethod::kSchmidt, 1, 0.07, 0.1407, 0.06},
};

class UniformSample : public ::testing::TestWithParam<UniformRow> {};

TEST_P(UniformSample, LooksUniformOnTheNet) {
  const UniformRow& row = GetParam();
  std::mt19937_64 random(31);
  const PoleDensity density(axis_samples::UniformAxes(random, 5000), row.method);
  const NetRaster raster{200, 200, -1, 1, 0.01};
  std::vector<float> out(200 * 200);
  FillDensityRows(density, raster, 0, 200, out.data());
  double sum = 0, squares = 0;
  int inside = 0;
  for (const float v : out) {
    if (std::isnan(v))
      continue;
    sum += v;
    squares += static_cast<double>(v) * v;
    ++inside;
  }
  const double mean = sum / inside;
  EXPECT_NEAR(mean, row.mean, row.meanBound);
  EXPECT_NEAR(std::sqrt(squares / inside - mean * mean), row.spread, row.spreadBound);
}

INSTANTIATE_TEST_SUITE_P(Table, UniformSample, ::testing::ValuesIn(kUniformRows), RowName());

/// 30 axes at `centre` and a ring of 12 at 20 degrees about it: symmetric
/// under turns of 30 degrees about the centre, so the mean and the
/// densities' critical point are the centre.
std::vector<WeightedAxis> RingedCluster(const Vector3& centre) {
  std::vector<WeightedAxis> axes(30, WeightedAxis{centre, 1.0});
  for (int i = 0; i < 12; ++i)
    axes.push_back({axis_samples::AtAngle(centre, 20 * kDegree, i * 30 * kDegree), 1.0});
  return axes;
}

TEST(DensityPeak, OneClusterPeaksAtItsMean) {
  std::mt19937_64 random(41);
  for (int trial = 0; trial < 20; ++trial) {
    const Vector3 centre = axis_samples::UniformDirection(random);
    const auto axes = RingedCluster(centre);
    const FisherStatistics f = ComputeFisherStatistics(axes);
    EXPECT_LT(AxisAngle(f.mean, centre), 1e-14);
    // The smooth kernel (f = 11.3, about 17 degrees wide): the peak is the
    // mean to the search's 1e-8 radians.
    const DensityPeak smooth =
        FindDensityMaximum(PoleDensity(axes, DensityMethod::kExponentialKamb));
    EXPECT_LT(AxisAngle(smooth.axis, f.mean), 1e-6);
    EXPECT_LE(smooth.axis.z, 0.0);
    // Counts: Kamb's cap (cos = 42 / 51 for N = 42, 34.6 degrees) holds all
    // 42 axes about the centre, Schmidt's (8.1 degrees) the 30 central ones,
    // and no cap holds more: the peak's cap holds as many.
    struct Count {
      DensityMethod method;
      double cap;
      long held;
    };
    for (const Count& c :
         {Count{DensityMethod::kKamb, 42.0 / 51, 42}, Count{DensityMethod::kSchmidt, 0.99, 30}}) {
      const PoleDensity density(axes, c.method);
      const DensityPeak peak = FindDensityMaximum(density);
      EXPECT_DOUBLE_EQ(peak.value, density.At(centre));
      const auto inCap = std::count_if(axes.begin(), axes.end(), [&](const WeightedAxis& a) {
        return std::fabs(axis_samples::Dot(a.axis, peak.axis)) >= c.cap;
      });
      EXPECT_EQ(inCap, c.held);
    }
    EXPECT_DOUBLE_EQ(PoleDensity(axes, DensityMethod::kSchmidt).At(centre), 100.0 * 30 / 42);
  }
}

TEST(DensityPeak, TurnsWithTheSet) {
  std::mt19937_64 random(42);
  for (int trial = 0; trial < 10; ++trial) {
    SCOPED_TRACE(trial);
    const auto axes =
        axis_samples::FisherAxes(random, axis_samples::UniformDirection(random), 20, 300, 0.5);
    const auto r = axis_samples::RandomRotation(random);
    const auto turned = axis_samples::Turn(r, axes);
    const PoleDensity density(axes, DensityMethod::kExponentialKamb);
    const PoleDensity turnedDensity(turned, DensityMethod::kExponentialKamb);
    // The turned set's density at the turned direction: the same sums
    // visited through other cubes, to rounding.
    for (int i = 0; i < 50; ++i) {
      const Vector3 u = axis_samples::UniformDirection(random);
      EXPECT_NEAR(turnedDensity.At(axis_samples::Turn(r, u)), density.At(u), 1e-10);
    }
    // One smooth peak (f = 68.7, 7 degrees wide, on a cluster 13 degrees
    // wide): found to 1e-8 radians from either side.
    const DensityPeak peak = FindDensityMaximum(density);
    const DensityPeak turnedPeak = FindDensityMaximum(turnedDensity);
    EXPECT_LT(AxisAngle(turnedPeak.axis, axis_samples::Turn(r, peak.axis)), 1e-6);
    EXPECT_NEAR(turnedPeak.value, peak.value, 1e-9 * peak.value);
  }
}

TEST(NetRaster, PixelsAreTheNetsPoints) {
  // A pole plotted by the net's own projection comes back as that pole.
  std::mt19937_64 random(51);
  std::uniform_real_distribution<double> azimuth(0, 360), dip(0, 89);
  for (int trial = 0; trial < 1000; ++trial) {
    const double dd = azimuth(random), d = dip(random);
    const projection::PolePoint p = projection::PolePosition(dd * kDegree, d * kDegree);
    EXPECT_LT(AxisAngle(NetPointAxis(p.x, p.y), PoleOfPlane(dd, d)), 1e-12);
  }
  // A cluster's brightest pixel is where the net plots its mean.
  const auto axes = RingedCluster(PoleOfPlane(130, 35));
  const PoleDensity density(axes, DensityMethod::kExponentialKamb);
  const NetRaster raster{151, 151, -1, 1, 2.0 / 151};
  std::vector<float> whole(151 * 151), halves(151 * 151);
  FillDensityRows(density, raster, 0, 151, whole.data());
  FillDensityRows(density, raster, 70, 151, halves.data());
  FillDensityRows(density, raster, 0, 70, halves.data());
  EXPECT_EQ(0, std::memcmp(whole.data(), halves.data(), whole.size() * sizeof(float)));
  const auto brightest = std::max_element(whole.begin(), whole.end(), [](float a, float b) {
    return std::isnan(a) || (!std::isnan(b) && a < b);
  });
  const int index = static_cast<int>(brightest - whole.begin());
  const projection::PolePoint mean = projection::PolePosition(130 * kDegree, 35 * kDegree);
  EXPECT_LT(std::hypot(raster.X(index % 151) - mean.x, raster.Y(index / 151) - mean.y),
            raster.step);
  EXPECT_TRUE(std::isnan(whole[0]));  // a corner, off the net
  EXPECT_FLOAT_EQ(whole[75 * 151 + 75], static_cast<float>(density.At({0, 0, -1})));
}

TEST(PoleDensity, WeightCountsAsRepeatedAxes) {
  std::mt19937_64 random(61);
  auto axes = axis_samples::FisherAxes(random, {0, 0, -1}, 10, 400);
  std::vector<WeightedAxis> repeated;
  for (std::size_t i = 0; i < axes.size(); ++i) {
    axes[i].weight = 1 + i % 3;
    for (std::size_t k = 0; k <= i % 3; ++k)
      repeated.push_back({axes[i].axis, 1.0});
  }
  const PoleDensity weighted(axes, DensityMethod::kSchmidt);
  const PoleDensity plain(repeated, DensityMethod::kSchmidt);
  for (int i = 0; i < 100; ++i) {
    const Vector3 u = axis_samples::UniformDirection(random);
    EXPECT_NEAR(weighted.At(u), plain.At(u), 1e-12);
  }
}

TEST(PoleDensity, RefusesWhatHasNoDensity) {
  const std::vector<WeightedAxis> none;
  const std::vector<WeightedAxis> one{{{0, 0, -1}, 1}};
  const std::vector<WeightedAxis> zero{{{0, 0, 0}, 1}};
  EXPECT_THROW(PoleDensity(none, DensityMethod::kKamb), std::invalid_argument);
  EXPECT_THROW(PoleDensity(one, DensityMethod::kKamb, 0), std::invalid_argument);
  EXPECT_THROW(PoleDensity(zero, DensityMethod::kKamb), std::invalid_argument);
  EXPECT_TRUE(std::isnan(PoleDensity(one, DensityMethod::kSchmidt).AtNetPoint(0.8, 0.8)));
}

}  // namespace
}  // namespace analysis
