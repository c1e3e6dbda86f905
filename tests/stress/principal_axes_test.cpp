// Principal axes and their orientation angles: worked examples, the fixed
// rules for repeated values, the angle rules, scale invariance, and
// properties against an independent eigensolver over families of tensors.

#include "stress/principal_axes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

#include "numeric/extended_math.h"
#include "stress/axis_candidate.h"
#include "stress/principal_values.h"
#include "tensor_families.h"
#include "test_names.h"

namespace stress {
namespace {

using test_names::RowName;
using test_names::SanitizedName;
using testing::FamilyCase;
using testing::LongColumn;

constexpr long double kPi = numeric::kPi;

/// Degrees as the window shows them: 2 decimals, rounded half up.
double ShownDegrees(double radians) {
  return static_cast<double>(std::floor(radians * 180.0L / kPi * 100.0L + 0.5L) / 100.0L);
}

/// Direction cosines are shown with 6 decimals: a value lies within half a
/// unit of the sixth decimal of what is shown.
constexpr double kSixDecimals = 5e-7;

void ExpectShownVector(const Vector3& actual, const Vector3& shown, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_NEAR(actual.x, shown.x, kSixDecimals);
  EXPECT_NEAR(actual.y, shown.y, kSixDecimals);
  EXPECT_NEAR(actual.z, shown.z, kSixDecimals);
}

struct ShownAngles {
  double clockwiseFromNorth;        ///< azimuth in AngleMode 1, degrees
  double counterclockwiseFromEast;  ///< azimuth in AngleMode 0, degrees
  double dip;                       ///< degrees
};

struct AxesCase {
  const char* name;
  StressState state;
  std::array<Vector3, 3> stored;  ///< axes of s1, s2, s3 before the downward flip
  std::array<ShownAngles, 3> angles;
  double handedness;
};

const AxesCase kAxesCases[] = {
    {"default_input",
     {3.4, 1, 8, 1, -1, 2},
     {{{0.333929, -0.077687, 0.939391},
       {0.842622, 0.471273, -0.260557},
       {-0.422468, 0.878560, 0.222832}}},
     {{{283.10, 166.90, 69.95}, {60.78, 29.22, 15.10}, {154.32, 295.68, 12.88}}},
     1.0},
    {"default_times_a_thousandth",
     {0.0034, 0.001, 0.008, 0.001, -0.001, 0.002},
     {{{-0.333929, 0.077687, -0.939391},
       {-0.842622, -0.471273, 0.260557},
       {-0.422468, 0.878560, 0.222832}}},
     {{{283.10, 166.90, 69.95}, {60.78, 29.22, 15.10}, {154.32, 295.68, 12.88}}},
     1.0},
    // Candidate 1 of s2 and s3 is 4.4e-4 and 5.8e-4 long, between the rule's
    // 1e-4 and a thousandth of the longest: still the rule's pick, so the
    // columns of the default.
    {"default_times_a_hundredth",
     {0.034, 0.01, 0.08, 0.01, -0.01, 0.02},
     {{{0.333929, -0.077687, 0.939391},
       {0.842622, 0.471273, -0.260557},
       {-0.422468, 0.878560, 0.222832}}},
     {{{283.10, 166.90, 69.95}, {60.78, 29.22, 15.10}, {154.32, 295.68, 12.88}}},
     1.0},
    {"handedness_factor_minus_one",
     {4, 3, 2, -2, -1, -2},
     {{{-0.828033, 0.469655, 0.306244},
       {0.155520, 0.717161, -0.679334},
       {0.538678, 0.514884, 0.666874}}},
     {{{119.56, 330.44, 17.83}, {12.24, 77.76, 42.79}, {226.29, 223.71, 41.83}}},
     -1.0},
    {"axis_aligned_ascending",
     {1, 2, 3, 0, 0, 0},
     {{{0, 0, 1}, {0, -1, 0}, {1, 0, 0}}},
     {{{180.00, 270.00, 90.00}, {180.00, 270.00, 0.00}, {90.00, 0.00, 0.00}}},
     1.0},
    {"axis_aligned_descending",
     {3, 2, 1, 0, 0, 0},
     {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}},
     {{{90.00, 0.00, 0.00}, {180.00, 270.00, 0.00}, {180.00, 270.00, 90.00}}},
     -1.0},
    // Small stresses: candidates of a few 1e-6 are still the axis, not noise.
    {"axis_aligned_thousandths",
     {0.001, 0.002, 0.003, 0, 0, 0},
     {{{0, 0, 1}, {0, -1, 0}, {1, 0, 0}}},
     {{{180.00, 270.00, 90.00}, {180.00, 270.00, 0.00}, {90.00, 0.00, 0.00}}},
     1.0},
    // Isotropic states: x, y and z.
    {"isotropic",
     {1, 1, 1, 0, 0, 0},
     {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
     {{{90.00, 0.00, 0.00}, {0.00, 90.00, 0.00}, {180.00, 270.00, 90.00}}},
     1.0},
    {"all_zero",
     {0, 0, 0, 0, 0, 0},
     {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
     {{{90.00, 0.00, 0.00}, {0.00, 90.00, 0.00}, {180.00, 270.00, 90.00}}},
     1.0},
    // A repeated pair: the larger value of the pair along the global axis least
    // aligned with the isolated axis (x, the first of x and y), the smaller
    // completing a right-handed set.
    {"repeated_pair_axis_aligned",
     {2, 2, 5, 0, 0, 0},
     {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}},
     {{{180.00, 270.00, 90.00}, {90.00, 0.00, 0.00}, {0.00, 90.00, 0.00}}},
     1.0},
    // The same rule off the axes: isolated axis (1, 1, 1)/sqrt(3); x projected
    // into its plane is (2, -1, -1)/sqrt(6); (1, 1, 1) x (2, -1, -1) ~ (0, 1, -1).
    {"repeated_pair_shears_only",
     {0, 0, 0, 1, 1, 1},
     {{{0.577350, 0.577350, 0.577350},
       {0.816497, -0.408248, -0.408248},
       {0.000000, 0.707107, -0.707107}}},
     {{{225.00, 225.00, 35.26}, {116.57, 333.43, 24.09}, {0.00, 90.00, 45.00}}},
     1.0},
    // I + n n^T with n = (1, 2, 3): values 15, 1, 1 whose 2x2 problem is
    // isotropic only to within rounding; x projected into the plane of the
    // pair is (13, -2, -3)/sqrt(182), and (1, 2, 3) x (13, -2, -3) ~ (0, 3, -2).
    {"repeated_pair_rank_one_update",
     {2, 5, 10, 2, 6, 3},
     {{{0.267261, 0.534522, 0.801784},
       {0.963624, -0.148250, -0.222375},
       {0.000000, 0.832050, -0.554700}}},
     {{{206.57, 243.43, 53.30}, {98.75, 351.25, 12.85}, {0.00, 90.00, 33.69}}},
     1.0},
};

class AxesTable : public ::testing::TestWithParam<AxesCase> {};

TEST_P(AxesTable, MatchesWorkedAxesAndAngles) {
  const AxesCase& c = GetParam();
  const PrincipalValues values = ComputePrincipalValues(c.state);
  PrincipalAxes axes;
  for (int i = 0; i < 3; ++i)
    axes[static_cast<std::size_t>(i)] = PrincipalAxis(c.state, values, i);
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string principal = "s" + std::to_string(i + 1);
    ExpectShownVector(axes[i], c.stored[i], principal + " stored axis");
    const AxisAngles north = AxisOrientation(axes[i], Azimuth::kClockwiseFromNorth);
    const AxisAngles east = AxisOrientation(axes[i], Azimuth::kCounterClockwiseFromEast);
    EXPECT_EQ(ShownDegrees(north.azimuth), c.angles[i].clockwiseFromNorth) << principal;
    EXPECT_EQ(ShownDegrees(east.azimuth), c.angles[i].counterclockwiseFromEast) << principal;
    EXPECT_EQ(ShownDegrees(north.dip), c.angles[i].dip) << principal;
    EXPECT_EQ(ShownDegrees(east.dip), c.angles[i].dip) << principal;
  }
  EXPECT_EQ(HandednessFactor(axes), c.handedness);
}

INSTANTIATE_TEST_SUITE_P(Worked, AxesTable, ::testing::ValuesIn(kAxesCases), RowName());

TEST(PrincipalAxes, DefaultInputDownwardAxesAndPlanes) {
  const StressState s{3.4, 1, 8, 1, -1, 2};
  const PrincipalAxes axes = ComputePrincipalAxes(s, ComputePrincipalValues(s));
  const Vector3 lower[] = {{-0.333929, 0.077687, -0.939391},
                           {0.842622, 0.471273, -0.260557},
                           {0.422468, -0.878560, -0.222832}};
  const double dipDirection[] = {-4.483811, -2.080746, -0.448222};
  const double planeDip[] = {0.349946, 1.307198, 1.346078};
  for (std::size_t i = 0; i < 3; ++i) {
    for (const Azimuth mode : {Azimuth::kCounterClockwiseFromEast, Azimuth::kClockwiseFromNorth}) {
      const AxisAngles angles = AxisOrientation(axes[i], mode);
      ExpectShownVector(angles.lower, lower[i], "lower hemisphere s" + std::to_string(i + 1));
      const PlaneAngles plane = PrincipalPlane(angles);
      EXPECT_NEAR(plane.dipDirection, dipDirection[i], kSixDecimals);
      EXPECT_NEAR(plane.dip, planeDip[i], kSixDecimals);
    }
  }
}

TEST(PrincipalAxes, VerticalAxisGivesAPlaneOfPracticallyZeroDip) {
  const StressState s{1, 2, 3, 0, 0, 0};
  const Vector3 axis = PrincipalAxis(s, ComputePrincipalValues(s), 0);
  const PlaneAngles plane = PrincipalPlane(AxisOrientation(axis, Azimuth::kClockwiseFromNorth));
  EXPECT_NEAR(plane.dip, 0.0, 1e-15);
  EXPECT_NEAR(plane.dipDirection, -2.0 * M_PI, 1e-15);
}

TEST(PrincipalAxes, IndexOutsideZeroToTwoIsRejected) {
  const StressState s{3.4, 1, 8, 1, -1, 2};
  const PrincipalValues v = ComputePrincipalValues(s);
  EXPECT_THROW(PrincipalAxis(s, v, 3), std::out_of_range);
  EXPECT_THROW(PrincipalAxis(s, v, -1), std::out_of_range);
}

// The window passes the values of the same state; values that do not belong
// to it (a caller's mistake) still give an orthonormal set and no fault.
TEST(PrincipalAxes, ValuesOfAnotherStateStillGiveAnOrthonormalSet) {
  std::mt19937_64 random(21);
  std::uniform_real_distribution<double> component(-100.0, 100.0);
  for (int n = 0; n < 2000; ++n) {
    const StressState s{component(random), component(random), component(random),
                        component(random), component(random), component(random)};
    double v[3] = {component(random), component(random), component(random)};
    std::sort(v, v + 3, [](double a, double b) { return a > b; });
    const PrincipalAxes axes = ComputePrincipalAxes(s, {v[0], v[1], v[2]});
    for (std::size_t i = 0; i < 3; ++i) {
      for (std::size_t j = 0; j < 3; ++j) {
        const double dot = axes[i].x * axes[j].x + axes[i].y * axes[j].y + axes[i].z * axes[j].z;
        ASSERT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-12) << testing::Describe(s);
      }
    }
  }
}

// The axes of a nearly isotropic state are as accurate as those of its
// deviator alone: D - y*I is formed from the deviator, taken about the mean
// carried beyond long double precision, and the unrounded deviatoric root y,
// so the mean's size enters no term. What remains is the rounding of the
// closed form's stored quantities, a few eps_double of the spread s1 - s3 in
// each root and row, multiplied by up to 1/kNegligibleCandidate = 1000 where
// the rule takes a candidate a thousandth as long as the longest: an angle
// below 1e4 units of eps_double * spread / gap for a value whose nearest
// neighbour is `gap` away (the worst seen is about 6e2 units). Rows formed
// from a value rounded to double, or from a mean rounded to long double,
// carry eps_double or eps_long_double times |mean| instead of the spread,
// which is what a tolerance on this scale is there to catch.
long double AxisErrorUnit(long double spread, long double gap) {
  return std::numeric_limits<double>::epsilon() * spread / gap;
}

long double AxisTolerance(long double spread, long double gap) {
  return 1e4L * AxisErrorUnit(spread, gap);
}

/// The angle between `u` and the line of `e`, in radians.
long double AngleToLine(const Vector3& u, const LongColumn& e) {
  const LongColumn v(u.x, u.y, u.z);
  return std::asin(std::min(1.0L, v.cross(e).norm() / (v.norm() * e.norm())));
}

struct NearlyIsotropicCase {
  const char* name;
  StressState state;
  std::array<LongColumn, 3> axes;  ///< the lines of s1, s2 and s3
  long double spreadOverGap;       ///< (s1 - s3) / the smallest gap, from the exact values
};

const NearlyIsotropicCase kNearlyIsotropicCases[] = {
    // Values 5 + 1e-12, 5 and 5 - 1e-12. Rounded to double, 5 + 1e-12 is off
    // by 8.9e-17, 8.9e-5 of the deviator, and rows of S - s*I formed from it
    // give the s1 axis as (0.707075, 0, 0.707138).
    {"equal_normals_shear_tzx_1e-12",
     {5, 5, 5, 0, 0, 1e-12},
     {LongColumn(1, 0, 1), LongColumn(0, 1, 0), LongColumn(1, 0, -1)},
     2},
    {"equal_normals_shear_txy_1e-12",
     {5, 5, 5, 1e-12, 0, 0},
     {LongColumn(1, 1, 0), LongColumn(0, 0, 1), LongColumn(1, -1, 0)},
     2},
    {"equal_normals_shear_tyz_1e-12",
     {5, 5, 5, 0, 1e-12, 0},
     {LongColumn(0, 1, 1), LongColumn(1, 0, 0), LongColumn(0, 1, -1)},
     2},
    // Mean over deviator about 1e13 at depth in kPa.
    {"mean_1e5_shear_1e-8",
     {1e5, 1e5, 1e5, 0, 0, -1e-8},
     {LongColumn(1, 0, -1), LongColumn(0, 1, 0), LongColumn(1, 0, 1)},
     2},
    // sz is 5 + 2252 * 2^-50: the mean, 5 + 2252/3 * 2^-50, is no long
    // double, and its rounding is most of the deviator of a mean rounded
    // once more. Values sz, 5 + 1e-12, 5 - 1e-12 (spread 3e-12, gap 1e-12).
    {"mean_not_a_long_double",
     {5, 5, 5.000000000002, 1e-12, 0, 0},
     {LongColumn(0, 0, 1), LongColumn(1, 1, 0), LongColumn(1, -1, 0)},
     3},
};

class NearlyIsotropicTable : public ::testing::TestWithParam<NearlyIsotropicCase> {};

TEST_P(NearlyIsotropicTable, AxesAsAccurateAsTheDeviatorAlone) {
  const NearlyIsotropicCase& c = GetParam();
  const PrincipalValues values = ComputePrincipalValues(c.state);
  const long double tolerance = AxisTolerance(c.spreadOverGap, 1.0L);
  for (int i = 0; i < 3; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const long double angle = AngleToLine(PrincipalAxis(c.state, values, i), c.axes[k]);
    EXPECT_LE(angle, tolerance) << "s" << i + 1 << " axis, " << static_cast<double>(angle)
                                << " rad off";
  }
}

INSTANTIATE_TEST_SUITE_P(Worked, NearlyIsotropicTable, ::testing::ValuesIn(kNearlyIsotropicCases),
                         RowName());

struct OrientationCase {
  const char* name;
  Vector3 axis;
  ShownAngles shown;
};

const double kSteep = 89.95 * M_PI / 180.0;

// clang-format off
const OrientationCase kOrientationCases[] = {
    {"azimuth_exactly_zero",           {1, 0, 0},                              {90.00, 0.00, 0.00}},
    // An east angle a hair below zero is lifted by 2 pi and shows 360.00.
    {"azimuth_a_hair_below_zero",      {1, -1e-17, 0},                         {90.00, 360.00, 0.00}},
    {"upward_axis_is_flipped",         {0.36, -0.48, 0.8},                     {323.13, 126.87, 53.13}},
    {"horizontal_axis_is_not_flipped", {-0.6, -0.8, 0.0},                      {216.87, 233.13, 0.00}},
    // |x| <= 1e-6: north or south by the sign of y alone.
    {"small_x_towards_north",          {1e-6, 0.6, -0.8},                      {0.00, 90.00, 53.13}},
    {"small_x_towards_south",          {-1e-6, -0.6, -0.8},                    {180.00, 270.00, 53.13}},
    {"vertical",                       {0, 0, 1},                              {180.00, 270.00, 90.00}},
    // Steep axes keep their dip: 89.95 degrees is not shown as 90.00.
    {"steep_axis",                     {std::cos(kSteep), 0, -std::sin(kSteep)}, {90.00, 0.00, 89.95}},
    {"within_1e-6_of_vertical",        {1e-3, 0, -std::sqrt(1.0 - 1e-6)},      {90.00, 0.00, 89.94}},
    // Just beyond the near-vertical limit: the horizontal part gives the azimuth.
    {"x_just_beyond_1e-6",             {2e-6, 2e-6, -std::sqrt(1.0 - 8e-12)},  {45.00, 45.00, 90.00}},
};
// clang-format on

class OrientationTable : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(OrientationTable, ShowsTheTableAngles) {
  const OrientationCase& c = GetParam();
  const AxisAngles north = AxisOrientation(c.axis, Azimuth::kClockwiseFromNorth);
  const AxisAngles east = AxisOrientation(c.axis, Azimuth::kCounterClockwiseFromEast);
  EXPECT_EQ(ShownDegrees(north.azimuth), c.shown.clockwiseFromNorth);
  EXPECT_EQ(ShownDegrees(east.azimuth), c.shown.counterclockwiseFromEast);
  EXPECT_EQ(ShownDegrees(north.dip), c.shown.dip);
  EXPECT_EQ(east.dip, north.dip);
  EXPECT_EQ(east.eastAngle, north.eastAngle);
}

INSTANTIATE_TEST_SUITE_P(Rules, OrientationTable, ::testing::ValuesIn(kOrientationCases),
                         RowName());

TEST(AxisOrientation, ExactAnglesAtTheRulesEdges) {
  // Assigned east angles are the doubles nearest pi/2 and 3pi/2.
  EXPECT_EQ(AxisOrientation({1e-6, 0.6, -0.8}, Azimuth::kClockwiseFromNorth).eastAngle,
            1.5707963267948966);
  EXPECT_EQ(AxisOrientation({-1e-6, -0.6, -0.8}, Azimuth::kClockwiseFromNorth).eastAngle,
            4.71238898038469);
  EXPECT_EQ(AxisOrientation({5e-7, 0, -1}, Azimuth::kClockwiseFromNorth).eastAngle,
            4.71238898038469);
  EXPECT_EQ(AxisOrientation({-0.6, 0.8, 0}, Azimuth::kClockwiseFromNorth).eastAngle,
            std::atan(0.8 / -0.6) + M_PI);
  // An azimuth of exactly 0 stays 0; one a hair below is lifted to 2 pi.
  EXPECT_EQ(AxisOrientation({1, 0, 0}, Azimuth::kCounterClockwiseFromEast).azimuth, 0.0);
  EXPECT_EQ(AxisOrientation({1, -1e-17, 0}, Azimuth::kCounterClockwiseFromEast).azimuth, 2 * M_PI);
  // Clockwise from North is a quarter turn less the angle from East.
  EXPECT_NEAR(AxisOrientation({0.6, 0.8, 0}, Azimuth::kClockwiseFromNorth).azimuth,
              std::atan2(0.6, 0.8), 1e-15);
  // The vertical and the steep dips.
  EXPECT_EQ(AxisOrientation({0, 0, 1}, Azimuth::kClockwiseFromNorth).dip, 1.5707963267948966);
  EXPECT_NEAR(
      AxisOrientation({std::cos(kSteep), 0, -std::sin(kSteep)}, Azimuth::kClockwiseFromNorth).dip,
      kSteep, 1e-15);
}

TEST(AxisOrientation, FlipsOnlyUpwardAxes) {
  const Vector3 up = AxisOrientation({0.36, -0.48, 0.8}, Azimuth::kClockwiseFromNorth).lower;
  EXPECT_EQ(up.x, -0.36);
  EXPECT_EQ(up.y, 0.48);
  EXPECT_EQ(up.z, -0.8);
  const Vector3 level = AxisOrientation({-0.6, -0.8, 0.0}, Azimuth::kClockwiseFromNorth).lower;
  EXPECT_EQ(level.x, -0.6);
  EXPECT_EQ(level.y, -0.8);
  const Vector3 down = AxisOrientation({0.6, 0.0, -0.8}, Azimuth::kClockwiseFromNorth).lower;
  EXPECT_EQ(down.x, 0.6);
  EXPECT_EQ(down.z, -0.8);
}

struct SignCase {
  const char* name;
  double x;
  double sign;
};

const SignCase kSignCases[] = {
    {"positive", 2.5, 1.0},       {"zero", 0.0, 1.0},
    {"negative_zero", -0.0, 1.0}, {"tiny_negative", -4.9e-324, -1.0},
    {"negative", -3.0, -1.0},     {"minus_infinity", -INFINITY, -1.0},
};

class SignTable : public ::testing::TestWithParam<SignCase> {};

TEST_P(SignTable, CountsZeroAsPositive) {
  EXPECT_EQ(SignOf(GetParam().x), GetParam().sign);
}

INSTANTIATE_TEST_SUITE_P(Rules, SignTable, ::testing::ValuesIn(kSignCases), RowName());

TEST(HandednessFactor, ZeroCrossComponentCountsAsPositive) {
  // Column 2 x column 3 has x component 0 and L1 is 0: both factors are +1.
  EXPECT_EQ(HandednessFactor({Vector3{0, 0, 1}, {0, 1, 0}, {0, 0, 1}}), 1.0);
  EXPECT_EQ(HandednessFactor({Vector3{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}), -1.0);
  EXPECT_EQ(HandednessFactor({Vector3{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}}), 1.0);
}

// Scaling a state by a power of ten changes which candidates pass the absolute
// 1e-4, but the axes stay the same up to sign and the angles stay the same.
// (From 1e-10 down the smallest state counts as zero.)
class ScaleInvariance : public ::testing::TestWithParam<int> {};

TEST_P(ScaleInvariance, SameAnglesAndAxesUpToSign) {
  const double factor = std::pow(10.0, GetParam());
  const StressState states[] = {{3.4, 1, 8, 1, -1, 2},
                                {4, 3, 2, -2, -1, -2},
                                {1, 2, 3, 0, 0, 0},
                                {-1.3, 0.4, 2.2, 0.05, 0.7, -0.9},
                                {2, 2, 5, 0, 0, 0}};
  for (const StressState& s : states) {
    const StressState t{s.sx * factor,  s.sy * factor,  s.sz * factor,
                        s.txy * factor, s.tyz * factor, s.tzx * factor};
    const PrincipalAxes a = ComputePrincipalAxes(s, ComputePrincipalValues(s));
    const PrincipalAxes b = ComputePrincipalAxes(t, ComputePrincipalValues(t));
    for (std::size_t i = 0; i < 3; ++i) {
      const long double dot = static_cast<long double>(a[i].x) * b[i].x +
                              static_cast<long double>(a[i].y) * b[i].y +
                              static_cast<long double>(a[i].z) * b[i].z;
      EXPECT_NEAR(std::fabs(dot), 1.0L, 1e-12L) << "s" << i + 1 << " of sx=" << s.sx;
      const AxisAngles x = AxisOrientation(a[i], Azimuth::kClockwiseFromNorth);
      const AxisAngles y = AxisOrientation(b[i], Azimuth::kClockwiseFromNorth);
      EXPECT_NEAR(x.dip, y.dip, 1e-7) << "s" << i + 1 << " of sx=" << s.sx;
      EXPECT_NEAR(x.azimuth, y.azimuth, 1e-7) << "s" << i + 1 << " of sx=" << s.sx;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(PowersOfTen, ScaleInvariance, ::testing::Range(-9, 13),
                         [](const auto& info) {
                           return "times_1e" + SanitizedName(std::to_string(info.param));
                         });

// Properties against Eigen's iterative solver on the long double matrix of
// the same doubles.
// - The axes are unit vectors at right angles to each other to 1e-10.
// - Each satisfies |S u - s u| <= 1e-10 * max|S|, with s the computed value.
//   For a repeated value every direction of its plane is an eigenvector, so
//   the residual admits any of them; the test needs no special case.
// - Where the value is separated from its neighbours by a gap g, the angle to
//   the reference axis is at most residual / g (the sin-theta theorem): it is
//   checked against 1e-10 * max|S| / g and recorded.
// - Each axis keeps the sign of the cross-product candidate that the 1e-4
//   rule picks wherever that candidate is more than rounding residue (within
//   60 degrees of the axis) and the value is not repeated (gap above 1e-9 of
//   max|S|), however short it is against the other candidates.
// - Azimuths lie in [0, 2pi] in both modes, dips in [0, pi/2], and the plane
//   passed to the plotter has its dip direction in [-2pi, 0).
// - Calls per index give the same set.

/// The largest deviations seen over one family.
struct Worst {
  long double orthonormality = 0.0L;
  long double residual = 0.0L;
  long double angle = 0.0L;  ///< radians, against the reference axis
};

/// What is wrong with the axes of `s`, or an empty text.
std::string CheckAxes(const StressState& s, const PrincipalValues& v, const PrincipalAxes& axes,
                      Worst& worst) {
  std::array<LongColumn, 3> u;
  for (std::size_t i = 0; i < 3; ++i)
    u[i] = LongColumn(axes[i].x, axes[i].y, axes[i].z);
  for (std::size_t i = 0; i < 3; ++i) {
    for (std::size_t j = i; j < 3; ++j) {
      const long double e = std::fabs(u[i].dot(u[j]) - (i == j ? 1.0L : 0.0L));
      worst.orthonormality = std::max(worst.orthonormality, e);
      if (e > 1e-10L)
        return "u" + std::to_string(i + 1) + ".u" + std::to_string(j + 1) + " off";
    }
  }
  for (std::size_t i = 0; i < 3; ++i) {
    for (const Azimuth mode : {Azimuth::kCounterClockwiseFromEast, Azimuth::kClockwiseFromNorth}) {
      const AxisAngles a = AxisOrientation(axes[i], mode);
      const PlaneAngles p = PrincipalPlane(a);
      if (!(a.azimuth >= 0.0 && a.azimuth <= 2 * kPi && a.dip >= 0.0 && a.dip <= kPi / 2 &&
            p.dipDirection >= -2 * kPi && p.dipDirection < 0.0)) {
        return "angles of s" + std::to_string(i + 1) + " out of range";
      }
    }
  }
  if (testing::SumOfMagnitudes(s) < 1e-9L)
    return "";  // counted as zero: axes x, y, z

  const testing::LongMatrix S = testing::ToMatrix(s);
  const long double scale = testing::MaxComponent(s);
  const testing::Reference ref = testing::Solve(s);
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string name = "s" + std::to_string(i + 1);
    const long double value = v[static_cast<int>(i)];
    const long double residual = (S * u[i] - value * u[i]).norm() / scale;
    worst.residual = std::max(worst.residual, residual);
    if (residual > 1e-10L)
      return "residual of " + name;

    long double gap = INFINITY;
    for (std::size_t j = 0; j < 3; ++j) {
      if (j != i)
        gap = std::min(gap, std::fabs(ref.values[i] - ref.values[j]));
    }
    const auto candidate = detail::RuleCandidate(s, v[static_cast<int>(i)]);
    if (candidate && gap > 1e-9L * scale &&
        u[i].dot(LongColumn(candidate->x, candidate->y, candidate->z)) <= -0.5L) {
      return name + " opposes the candidate the 1e-4 rule picks";
    }
    if (gap >= 1e-6L * scale) {
      const long double sine = std::min(1.0L, u[i].cross(ref.axes[i]).norm());
      worst.angle = std::max(worst.angle, std::asin(sine));
      if (sine > 1e-10L * scale / gap)
        return name + " off the reference axis";
    }
  }
  return "";
}

class AxesProperties : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(AxesProperties, OrthonormalPrincipalAndInRange) {
  const FamilyCase& family = GetParam();
  testing::TensorSource source(family.family, family.seed);
  Worst worst;
  int failures = 0;
  for (int n = 0; n < testing::kTensorsPerFamily && failures < 3; ++n) {
    const StressState s = source.Next();
    const PrincipalValues v = ComputePrincipalValues(s);
    const PrincipalAxes axes = ComputePrincipalAxes(s, v);
    const std::string problem = CheckAxes(s, v, axes, worst);
    if (!problem.empty()) {
      ++failures;
      ADD_FAILURE() << problem << " for " << testing::Describe(s);
    }
    if (n % 16 == 0) {
      for (int i = 0; i < 3; ++i) {
        const Vector3 single = PrincipalAxis(s, v, i);
        const Vector3& whole = axes[static_cast<std::size_t>(i)];
        EXPECT_EQ(single.x, whole.x);
        EXPECT_EQ(single.y, whole.y);
        EXPECT_EQ(single.z, whole.z);
      }
    }
  }
  EXPECT_EQ(failures, 0);
  std::cout << "[ axes    ] " << family.name << ": worst |u.u - I| "
            << static_cast<double>(worst.orthonormality) << ", worst residual "
            << static_cast<double>(worst.residual) << " of max|S|, worst angle "
            << static_cast<double>(worst.angle) << " rad\n";
  RecordProperty("worst_orthonormality", std::to_string(static_cast<double>(worst.orthonormality)));
  RecordProperty("worst_residual", std::to_string(static_cast<double>(worst.residual)));
  RecordProperty("worst_angle", std::to_string(static_cast<double>(worst.angle)));
}

INSTANTIATE_TEST_SUITE_P(Families, AxesProperties, ::testing::ValuesIn(testing::kFamilies),
                         RowName());

// Nearly isotropic states (Family::kNearlyIsotropic): a mean of 0.1 to 1e5 in
// magnitude, a deviator 1e-13 to 1e-6 of it, values at least a quarter of the
// spread apart, random axes. Each axis lies within AxisTolerance of the
// reference axis. The reference solves S - sx*I: each diagonal entry is
// within a factor of two of sx, so the shift is exact and keeps the axes,
// and the solver's error, about eps_long_double times the norm of its
// matrix over the gap, comes from the deviator's size instead of the mean's.
const FamilyCase kNearlyIsotropicFamily[] = {
    {"deviator_1e-13_to_1e-6_of_the_mean", testing::Family::kNearlyIsotropic, 18},
};

class NearlyIsotropicProperties : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(NearlyIsotropicProperties, AxesAsAccurateAsTheDeviatorAlone) {
  const FamilyCase& family = GetParam();
  testing::TensorSource source(family.family, family.seed);
  long double worstAngle = 0.0L;
  long double worstUnits = 0.0L;  // the angle in units of AxisErrorUnit
  int failures = 0;
  for (int n = 0; n < testing::kTensorsPerFamily && failures < 3; ++n) {
    const StressState s = source.Next();
    const PrincipalAxes axes = ComputePrincipalAxes(s, ComputePrincipalValues(s));

    testing::LongMatrix shifted = testing::ToMatrix(s);
    for (int k = 0; k < 3; ++k)
      shifted(k, k) -= s.sx;
    const Eigen::SelfAdjointEigenSolver<testing::LongMatrix> reference(shifted);
    const auto& values = reference.eigenvalues();  // ascending: s3, s2, s1
    const long double spread = values(2) - values(0);
    const long double gaps[3] = {values(2) - values(1),
                                 std::min(values(2) - values(1), values(1) - values(0)),
                                 values(1) - values(0)};
    for (int i = 0; i < 3; ++i) {
      const std::size_t k = static_cast<std::size_t>(i);
      if (!(gaps[k] >= spread / 8.0L)) {
        ++failures;
        ADD_FAILURE() << "values not separated for " << testing::Describe(s);
        break;
      }
      const long double angle = AngleToLine(axes[k], reference.eigenvectors().col(2 - i));
      worstAngle = std::max(worstAngle, angle);
      worstUnits = std::max(worstUnits, angle / AxisErrorUnit(spread, gaps[k]));
      if (angle > AxisTolerance(spread, gaps[k])) {
        ++failures;
        ADD_FAILURE() << "s" << i + 1 << " axis " << static_cast<double>(angle) << " rad off for "
                      << testing::Describe(s);
        break;
      }
    }
  }
  EXPECT_EQ(failures, 0);
  std::cout << "[ axes    ] " << family.name << ": worst angle " << static_cast<double>(worstAngle)
            << " rad, " << static_cast<double>(worstUnits) << " eps_double * spread / gap\n";
  RecordProperty("worst_angle", std::to_string(static_cast<double>(worstAngle)));
}

INSTANTIATE_TEST_SUITE_P(Families, NearlyIsotropicProperties,
                         ::testing::ValuesIn(kNearlyIsotropicFamily), RowName());

}  // namespace
}  // namespace stress
