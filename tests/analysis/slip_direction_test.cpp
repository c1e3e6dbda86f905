// The slip direction: a unit vector in the plane, opposite to the shear
// traction, whose trend and plunge describe it.

#include "analysis/slip_direction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace analysis {
namespace {

TEST(SlipDirection, UnitVectorInThePlaneOppositeToShear) {
  std::mt19937_64 random(23);
  std::uniform_real_distribution<double> magnitude(-20.0, 100.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 20000; ++trial) {
    const stress::StressState s{magnitude(random),     magnitude(random),
                                magnitude(random),     magnitude(random) / 3,
                                magnitude(random) / 3, magnitude(random) / 3};
    const double dipDirection = 360.0 * unit(random);
    const double dip = 90.0 * unit(random);
    SCOPED_TRACE(trial);
    const auto slip = ComputeSlipDirection(s, dipDirection, dip, 0.0);
    ASSERT_TRUE(slip.has_value());
    const double v[3] = {slip->vector.x, slip->vector.y, slip->vector.z};

    const long double b = dipDirection * M_PIl / 180;
    const long double p = dip * M_PIl / 180;
    const long double n[3] = {std::sin(b) * std::sin(p), std::cos(b) * std::sin(p), std::cos(p)};
    const long double t[3] = {s.sx * n[0] + s.txy * n[1] + s.tzx * n[2],
                              s.txy * n[0] + s.sy * n[1] + s.tyz * n[2],
                              s.tzx * n[0] + s.tyz * n[1] + s.sz * n[2]};
    const long double sigma = t[0] * n[0] + t[1] * n[1] + t[2] * n[2];
    long double shear[3];
    long double length = 0;
    for (int k = 0; k < 3; ++k) {
      shear[k] = t[k] - sigma * n[k];
      length += shear[k] * shear[k];
    }
    length = std::sqrt(length);
    // Where the shear is a tiny part of the traction its direction is
    // ill-conditioned; the bound scales with that.
    const double scale = std::max(
        1.0, static_cast<double>(std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]) / length));
    EXPECT_NEAR(std::hypot(std::hypot(v[0], v[1]), v[2]), 1.0, 1e-15);
    EXPECT_NEAR(v[0] * n[0] + v[1] * n[1] + v[2] * n[2], 0.0, 1e-15 * scale);
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(v[k], -shear[k] / length, 1e-12 * scale);

    const double trend = slip->trend * M_PI / 180;
    const double plunge = slip->plunge * M_PI / 180;
    EXPECT_NEAR(std::sin(trend) * std::cos(plunge), v[0], 1e-12);
    EXPECT_NEAR(std::cos(trend) * std::cos(plunge), v[1], 1e-12);
    EXPECT_NEAR(-std::sin(plunge), v[2], 1e-12);
    EXPECT_GT(slip->rake, -180.0);
    EXPECT_LE(slip->rake, 180.0);
  }
}

TEST(SlipDirection, NoneWithoutShear) {
  EXPECT_FALSE(ComputeSlipDirection({5, 5, 5, 0, 0, 0}, 30, 40, 1e-14).has_value());
  EXPECT_FALSE(ComputeSlipDirection({3, 4, 8, 0, 0, 0}, 0, 0, 1e-14).has_value());
}

}  // namespace
}  // namespace analysis
