#include "analysis/stress_builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "numeric/extended_math.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"
#include "test_names.h"

namespace analysis {
namespace {

using stress::Azimuth;
using test_names::RowName;

// ---------------------------------------------------------------------------
// Depth profiles: magnitudes and regime in both unit systems.

struct DepthCase {
  const char* name;
  DepthProfile profile;
  double sv, shMax, shMin, pp;
  std::optional<AndersonRegime> regime;
};

const DepthCase kDepthCases[] = {
    {"gradients in MPa per km",
     {UnitSystem::kMegapascalMetre, 2000, 25, std::nullopt, 30, 18, 10, 0},
     50,
     60,
     36,
     20,
     AndersonRegime::kStrikeSlip},
    {"density in MPa",
     {UnitSystem::kMegapascalMetre, 1000, 0, 2.5, 20, 15, 10, 0},
     24.5166250,
     20,
     15,
     10,
     AndersonRegime::kNormal},
    {"gradients in psi per foot",
     {UnitSystem::kPsiFoot, 10000, 1.0, std::nullopt, 1.2, 1.1, 0.45, 0},
     10000,
     12000,
     11000,
     4500,
     AndersonRegime::kReverse},
    // 1 g/cm^3 is 0.433527 psi/ft.
    {"density in psi",
     {UnitSystem::kPsiFoot, 1000, 0, 1.0, 0.8, 0.6, 0.44, 0},
     433.5275,
     800,
     600,
     440,
     AndersonRegime::kReverse},
    {"equal horizontal stresses have no regime",
     {UnitSystem::kMegapascalMetre, 1000, 25, std::nullopt, 20, 20, 10, 0},
     25,
     20,
     20,
     10,
     std::nullopt},
};

class DepthTest : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DepthTest, MagnitudesAndRegime) {
  const DepthCase& c = GetParam();
  const DepthStresses s = StressesAtDepth(c.profile);
  EXPECT_NEAR(s.sv, c.sv, 1e-4);
  EXPECT_DOUBLE_EQ(s.shMax, c.shMax);
  EXPECT_DOUBLE_EQ(s.shMin, c.shMin);
  EXPECT_DOUBLE_EQ(s.porePressure, c.pp);
  EXPECT_EQ(s.regime, c.regime);
}

INSTANTIATE_TEST_SUITE_P(Table, DepthTest, ::testing::ValuesIn(kDepthCases), RowName());

// The depth builder's tensor has the values {Sv, SHmax, Shmin}, SHmax along
// its azimuth, and no shear at all when SHmax lies along x or y.
TEST(HorizontalTensor, ValuesAndSHmaxAxisOverRandomStates) {
  std::mt19937_64 random(21);
  std::uniform_real_distribution<double> magnitude(-50.0, 200.0);
  std::uniform_real_distribution<double> azimuth(-360.0, 720.0);
  for (int n = 0; n < 20000; ++n) {
    double h1 = magnitude(random), h2 = magnitude(random);
    if (h1 < h2)
      std::swap(h1, h2);
    const double sv = magnitude(random);
    const double a = n % 10 == 0 ? 90.0 * (n % 7) : azimuth(random);
    const stress::StressState s = HorizontalTensor(sv, h1, h2, a);
    const double size = std::max({std::fabs(h1), std::fabs(h2), std::fabs(sv)});
    const stress::PrincipalValues v = stress::ComputePrincipalValues(s);
    double expected[3] = {sv, h1, h2};
    std::sort(expected, expected + 3, std::greater<>());
    for (int i = 0; i < 3; ++i)
      ASSERT_NEAR(v[i], expected[i], 1e-12 * size) << n;
    ASSERT_EQ(s.tyz, 0.0);
    ASSERT_EQ(s.tzx, 0.0);
    if (n % 10 == 0) {
      ASSERT_EQ(s.txy, 0.0) << a;
    }
    // SHmax's axis: S u = SHmax u for u = (sin a, cos a, 0).
    const double ux = std::sin(a * M_PI / 180.0), uy = std::cos(a * M_PI / 180.0);
    ASSERT_NEAR(s.sx * ux + s.txy * uy, h1 * ux, 1e-12 * size) << n;
    ASSERT_NEAR(s.txy * ux + s.sy * uy, h1 * uy, 1e-12 * size) << n;
  }
}

// ---------------------------------------------------------------------------
// Principal stresses with their axes.

struct RefusalCase {
  const char* name;
  PrincipalInput input;
  const char* problem;
};

const RefusalCase kRefusalCases[] = {
    {"unsorted values", {10, 12, 5, 0, 90, 0, 0}, "s1 \u2265 s2 \u2265 s3 is required"},
    {"axes 3 degrees from perpendicular",
     {10, 5, 1, 0, 0, 87, 0},
     "The s1 and s3 axes are 87.00\u00b0 apart; they must be perpendicular within 2\u00b0"},
    {"the same axis",
     {10, 5, 1, 30, 40, 210, -40},
     "The s1 and s3 axes are 0.00\u00b0 apart; they must be perpendicular within 2\u00b0"},
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, NamesTheProblem) {
  const BuiltState built = BuildFromPrincipal(GetParam().input);
  EXPECT_FALSE(built.state.has_value());
  EXPECT_EQ(built.problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(Table, RefusalTest, ::testing::ValuesIn(kRefusalCases), RowName());

// Building, then solving, gives back the values to 1e-12 max|S| and the axes
// to 1e-9 rad, in both conventions, for axes within 2 degrees of a right
// angle, vertical and horizontal axes included.
TEST(BuildFromPrincipal, RoundTripOverRandomStates) {
  std::mt19937_64 random(22);
  std::uniform_real_distribution<double> value(-100.0, 100.0);
  std::uniform_real_distribution<double> angle(0.0, 360.0);
  std::uniform_real_distribution<double> dip(0.0, 90.0);
  std::uniform_real_distribution<double> skew(-1.9, 1.9);
  for (int n = 0; n < 20000; ++n) {
    double s[3] = {value(random), value(random), value(random)};
    std::sort(s, s + 3, std::greater<>());
    if (s[0] - s[1] < 1e-3 * (s[0] - s[2]) || s[1] - s[2] < 1e-3 * (s[0] - s[2]))
      continue;  // a near pair has no stable axes to compare
    PrincipalInput in{s[0], s[1], s[2]};
    in.convention = n % 2 ? Azimuth::kClockwiseFromNorth : Azimuth::kCounterClockwiseFromEast;
    const bool aligned = n % 8 == 0;
    in.s1Azimuth = aligned ? 90.0 * (n % 5) : angle(random);
    in.s1Dip = aligned ? 90.0 * (n % 3 == 0) : dip(random);
    // s3 perpendicular to s1, within the tolerance: a vector at right angles,
    // turned a little towards s1.
    const stress::Vector3 u1 = AxisVector(in.s1Azimuth, in.s1Dip, in.convention);
    const stress::Vector3 helper =
        std::fabs(u1.z) < 0.9 ? stress::Vector3{0, 0, -1} : stress::Vector3{1, 0, 0};
    stress::Vector3 p{u1.y * helper.z - u1.z * helper.y, u1.z * helper.x - u1.x * helper.z,
                      u1.x * helper.y - u1.y * helper.x};
    const double length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    p = {p.x / length, p.y / length, p.z / length};
    const double t = aligned ? 0.0 : std::tan(skew(random) * M_PI / 180.0);
    stress::Vector3 w{p.x + t * u1.x, p.y + t * u1.y, p.z + t * u1.z};
    if (w.z > 0)
      w = {-w.x, -w.y, -w.z};
    in.s3Dip = std::atan2(-w.z, std::hypot(w.x, w.y)) * 180.0 / M_PI;
    in.s3Azimuth = std::atan2(in.convention == Azimuth::kClockwiseFromNorth ? w.x : w.y,
                              in.convention == Azimuth::kClockwiseFromNorth ? w.y : w.x) *
                   180.0 / M_PI;
    const BuiltState built = BuildFromPrincipal(in);
    ASSERT_TRUE(built.state.has_value()) << n << ": " << built.problem;
    const stress::PrincipalValues v = stress::ComputePrincipalValues(*built.state);
    const double size = std::max(std::fabs(s[0]), std::fabs(s[2]));
    for (int i = 0; i < 3; ++i)
      ASSERT_NEAR(v[i], s[i], 1e-12 * size) << n;
    const stress::PrincipalAxes axes = stress::ComputePrincipalAxes(*built.state, v);
    ASSERT_LT(AngleBetweenAxes(axes[0], u1), 1e-9 * 180 / M_PI) << n;
    const double s3Angle =
        AngleBetweenAxes(axes[0], AxisVector(in.s3Azimuth, in.s3Dip, in.convention));
    ASSERT_NEAR(s3Angle, 90.0, 2.0) << n;
  }
}

}  // namespace
}  // namespace analysis
