// The derived quantities: the worked state against 30-digit arithmetic, the
// edge rows of each quantity, the regime classes at their boundaries, and
// properties of generated tensors and joints.

#include "analysis/stress_measures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <random>

#include "analysis/mohr_geometry.h"
#include "numeric/extended_math.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"
#include "stress/tensor_families.h"
#include "test_names.h"

namespace {

using analysis::FaultingRegime;
using analysis::JointState;
using test_names::RowName;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();  // an empty optional
constexpr double kInf = std::numeric_limits<double>::infinity();

void ExpectOptional(const std::optional<double>& actual, double expected, double tolerance,
                    const char* what) {
  if (std::isnan(expected)) {
    EXPECT_FALSE(actual.has_value()) << what << " = " << actual.value_or(0.0);
  } else {
    ASSERT_TRUE(actual.has_value()) << what;
    EXPECT_NEAR(*actual, expected, tolerance) << what;
  }
}

// ---------------------------------------------------------------------------
// The default state through the whole chain, against values computed with
// 30 significant digits from the tensor itself (the double results carry
// about 1e-15 of rounding, far inside the 1e-12 allowed).

TEST(WorkedState, MatchesThirtyDigitArithmetic) {
  const stress::StressState s{3.4, 1.0, 8.0, 1.0, -1.0, 2.0};
  const stress::PrincipalValues v = stress::ComputePrincipalValues(s);
  const stress::PrincipalAxes axes = stress::ComputePrincipalAxes(s, v);
  std::array<double, 3> plunges{};
  for (std::size_t i = 0; i < 3; ++i) {
    const stress::AxisAngles angles =
        stress::AxisOrientation(axes[i], stress::Azimuth::kClockwiseFromNorth);
    plunges[i] = static_cast<double>(numeric::RadiansToDegrees(angles.dip));
  }
  EXPECT_NEAR(plunges[0], 69.949590120207807923720077998, 1e-9);
  EXPECT_NEAR(plunges[1], 15.1030900240704008557669984613, 1e-9);
  EXPECT_NEAR(plunges[2], 12.8754348350817763351595145647, 1e-9);

  const analysis::StressMeasures m = analysis::ComputeStressMeasures(v);
  EXPECT_NEAR(m.meanStress, 4.13333333333333333333333333333, 1e-12);
  EXPECT_NEAR(m.maxShear, 4.26407220845547457526253774642, 1e-12);
  EXPECT_NEAR(m.vonMises, 7.48064168370601747537956091971, 1e-12);
  EXPECT_NEAR(m.octahedralShear, 3.52640830811685156958033988193, 1e-12);
  ExpectOptional(m.stressRatio, 0.360611654666987282636086828143, 1e-12, "Phi");

  const analysis::HorizontalStresses h = analysis::ComputeHorizontalStresses(s);
  EXPECT_EQ(h.sv, 8.0);
  EXPECT_NEAR(h.shMax, 3.76204993518133087882594454715, 1e-12);
  EXPECT_NEAR(h.shMin, 0.637950064818669121174055452848, 1e-12);
  ExpectOptional(h.shMaxAzimuth, 70.0972144538674029968602550904, 1e-10, "SHmax azimuth");
  EXPECT_EQ(analysis::RegimeOf(v, plunges[0], plunges[1], plunges[2]), FaultingRegime::kNormal);

  const stress::JointStresses j = stress::ComputeJointStresses(v, axes, {16.0, 33.0, 14.0, 1.0});
  EXPECT_NEAR(j.sigma, 5.76031584229955420748262259996, 1e-12);
  EXPECT_NEAR(j.tau, 4.03314182782287240237323373492, 1e-12);
  EXPECT_NEAR(j.tauLim, 2.43620804470648203192538802819, 1e-12);
  const analysis::JointAssessment a = analysis::AssessJoint(v, j);
  ExpectOptional(a.slipTendency, 0.700159841619520795697670986162, 1e-12, "Ts");
  ExpectOptional(a.dilationTendency, 0.355684761445371716145739072453, 1e-12, "Td");
  EXPECT_NEAR(a.factorOfSafety, 0.604047204068092460356475785233, 1e-12);
  EXPECT_EQ(a.state, JointState::kSlips);
}

// ---------------------------------------------------------------------------
// Measures of the principal values.

struct MeasureCase {
  const char* name;
  stress::PrincipalValues values;
  double mean, maxShear, vonMises, octahedral, ratio;
};

const MeasureCase kMeasureCases[] = {
    {"repeated larger pair", {5, 5, 2}, 4, 1.5, 3, 1.4142135623730951, 1},
    {"repeated smaller pair", {5, 2, 2}, 3, 1.5, 3, 1.4142135623730951, 0},
    {"hydrostatic", {7, 7, 7}, 7, 0, 0, 0, kNone},
    {"zero state", {0, 0, 0}, 0, 0, 0, 0, kNone},
    // R = 0: the middle value is the mean.
    {"plane shear", {3, 0, -3}, 0, 3, 5.196152422706632, 2.449489742783178, 0.5},
    {"all in tension", {-1, -2, -4}, -7.0 / 3, 1.5, 2.6457513110645906, 1.247219128924647, 2.0 / 3},
};

class MeasureTest : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(MeasureTest, MatchesTable) {
  const MeasureCase& c = GetParam();
  const analysis::StressMeasures m = analysis::ComputeStressMeasures(c.values);
  EXPECT_NEAR(m.meanStress, c.mean, 1e-15);
  EXPECT_NEAR(m.maxShear, c.maxShear, 1e-15);
  EXPECT_NEAR(m.vonMises, c.vonMises, 1e-14);
  EXPECT_NEAR(m.octahedralShear, c.octahedral, 1e-14);
  ExpectOptional(m.stressRatio, c.ratio, 1e-15, "Phi");
}

INSTANTIATE_TEST_SUITE_P(Table, MeasureTest, ::testing::ValuesIn(kMeasureCases), RowName());

// ---------------------------------------------------------------------------
// Horizontal stresses and the SHmax azimuth, clockwise from North and
// counter-clockwise from East.

struct HorizontalCase {
  const char* name;
  double sx, sy, txy;
  double shMax, shMin, azimuth, eastAzimuth;
};

const HorizontalCase kHorizontalCases[] = {
    {"equal normals without shear", 2, 2, 0, 2, 2, kNone, kNone},
    // A difference of one rounding is no direction.
    {"normals a rounding apart", 2, 2.0000000000000004, 0, 2, 2, kNone, kNone},
    {"North larger", 1, 3, 0, 3, 1, 0, 90},
    // atan2(-0, negative) is -180 degrees: the same axis as 0, not 180.
    {"North larger with a negative zero shear", 1, 3, -0.0, 3, 1, 0, 90},
    {"East larger", 3, 1, 0, 3, 1, 90, 0},
    {"pure shear toward North-East", 0, 0, 2, 2, -2, 45, 45},
    {"pure shear toward South-East", 0, 0, -2, 2, -2, 135, 135},
    {"ten degrees East of North", 2.0301536896070456, 2.969846310392954, 0.17101007166283433, 3, 2,
     10, 80},
    {"all in tension", -4, -1, 0, -1, -4, 0, 90},
};

class HorizontalTest : public ::testing::TestWithParam<HorizontalCase> {};

TEST_P(HorizontalTest, MatchesTable) {
  const HorizontalCase& c = GetParam();
  const analysis::HorizontalStresses h =
      analysis::ComputeHorizontalStresses({c.sx, c.sy, 6.5, c.txy, 9.0, -9.0});
  EXPECT_EQ(h.sv, 6.5);
  EXPECT_NEAR(h.shMax, c.shMax, 1e-15);
  EXPECT_NEAR(h.shMin, c.shMin, 1e-15);
  ExpectOptional(h.shMaxAzimuth, c.azimuth, 1e-13, "SHmax azimuth");
  const analysis::HorizontalStresses east = analysis::ComputeHorizontalStresses(
      {c.sx, c.sy, 6.5, c.txy, 9.0, -9.0}, stress::Azimuth::kCounterClockwiseFromEast);
  ExpectOptional(east.shMaxAzimuth, c.eastAzimuth, 1e-13, "SHmax azimuth from East");
}

INSTANTIATE_TEST_SUITE_P(Table, HorizontalTest, ::testing::ValuesIn(kHorizontalCases), RowName());

// ---------------------------------------------------------------------------
// Regime classes by the plunges of s1, s2, s3, on and just past each bound.

struct RegimeCase {
  const char* name;
  double plunge1, plunge2, plunge3;
  FaultingRegime regime;
};

const RegimeCase kRegimeCases[] = {
    {"NF vertical s1", 90, 0, 0, FaultingRegime::kNormal},
    {"NF on both bounds", 52, 0, 35, FaultingRegime::kNormal},
    {"NF s3 too steep", 60, 0, 35.01, FaultingRegime::kUnknown},
    {"NS just below NF", 51.99, 30, 20, FaultingRegime::kNormalStrikeSlip},
    {"NS on its lower bound", 40, 50, 20, FaultingRegime::kNormalStrikeSlip},
    {"NS s3 too steep", 45, 45, 20.01, FaultingRegime::kUnknown},
    {"SS vertical s2", 0, 90, 0, FaultingRegime::kStrikeSlip},
    {"SS first branch on its bounds", 39.99, 45, 20, FaultingRegime::kStrikeSlip},
    {"SS s2 too shallow", 30, 44.99, 10, FaultingRegime::kUnknown},
    {"SS second branch on its bounds", 20, 45, 39.99, FaultingRegime::kStrikeSlip},
    {"SS second branch s1 too steep", 20.01, 45, 30, FaultingRegime::kUnknown},
    {"SS second branch s3 at 40 is TS", 20, 45, 40, FaultingRegime::kThrustStrikeSlip},
    {"TS on its lower bound", 20, 0, 40, FaultingRegime::kThrustStrikeSlip},
    {"TS just below TF", 20, 30, 51.99, FaultingRegime::kThrustStrikeSlip},
    {"TS s1 too steep", 20.01, 0, 45, FaultingRegime::kUnknown},
    {"TS s3 at 52 is TF", 20, 0, 52, FaultingRegime::kThrust},
    {"TF vertical s3", 0, 0, 90, FaultingRegime::kThrust},
    {"TF on both bounds", 35, 0, 52, FaultingRegime::kThrust},
    {"TF s1 too steep", 35.01, 0, 60, FaultingRegime::kUnknown},
};

class RegimeTest : public ::testing::TestWithParam<RegimeCase> {};

TEST_P(RegimeTest, MatchesTable) {
  const RegimeCase& c = GetParam();
  EXPECT_EQ(analysis::ClassifyRegime(c.plunge1, c.plunge2, c.plunge3), c.regime);
  EXPECT_EQ(analysis::RegimeOf({3, 2, 1}, c.plunge1, c.plunge2, c.plunge3), c.regime);
  // A repeated value has no regime, whatever the plunges.
  EXPECT_EQ(analysis::RegimeOf({3, 3, 1}, c.plunge1, c.plunge2, c.plunge3), std::nullopt);
  EXPECT_EQ(analysis::RegimeOf({3, 1, 1}, c.plunge1, c.plunge2, c.plunge3), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Table, RegimeTest, ::testing::ValuesIn(kRegimeCases), RowName());

// ---------------------------------------------------------------------------
// The joint's assessment.

struct JointCase {
  const char* name;
  stress::PrincipalValues values;
  stress::JointStresses joint;  // sigma, tau, tauLim
  double slip, dilation, safety;
  JointState state;
};

const JointCase kJointCases[] = {
    {"tension joint", {-1, -2, -4}, {-2, 1, 0}, kNone, 1.0 / 3, 0, JointState::kOpens},
    {"no shear on a principal plane", {8, 3, 1}, {8, 0, 2.995}, 0, 0, kInf, JointState::kStable},
    {"no shear and no strength", {1, 0, -1}, {0, 0, 0}, kNone, 0.5, kInf, JointState::kSlips},
    {"shear at the limit", {6, 3, 2}, {4, 2, 2}, 0.5, 0.5, 1, JointState::kSlips},
    {"just below the limit", {6, 3, 2}, {4, 1.5, 2}, 0.375, 0.5, 4.0 / 3, JointState::kStable},
    {"hydrostatic", {3, 3, 3}, {3, 0, 1}, 0, kNone, kInf, JointState::kStable},
    // sigma a rounding residue beyond s1.
    {"normal stress past s1",
     {5, 2, 1},
     {5.000000000000001, 0, 1},
     0.0,
     0,
     kInf,
     JointState::kStable},
};

class JointTest : public ::testing::TestWithParam<JointCase> {};

TEST_P(JointTest, MatchesTable) {
  const JointCase& c = GetParam();
  const analysis::JointAssessment a = analysis::AssessJoint(c.values, c.joint);
  ExpectOptional(a.slipTendency, c.slip, 1e-15, "Ts");
  ExpectOptional(a.dilationTendency, c.dilation, 1e-15, "Td");
  EXPECT_GE(a.dilationTendency.value_or(0.0), 0.0);
  EXPECT_LE(a.dilationTendency.value_or(1.0), 1.0);
  if (std::isinf(c.safety)) {
    EXPECT_EQ(a.factorOfSafety, c.safety);
  } else {
    EXPECT_NEAR(a.factorOfSafety, c.safety, 1e-15);
  }
  EXPECT_EQ(a.state, c.state);
}

INSTANTIATE_TEST_SUITE_P(Table, JointTest, ::testing::ValuesIn(kJointCases), RowName());

// ---------------------------------------------------------------------------
// Properties of generated tensors, each with a random joint.

using stress::testing::Family;
using stress::testing::FamilyCase;

const FamilyCase kPropertyFamilies[] = {
    {"random_components", Family::kRandom, 31},
    {"magnitudes_1e-6_to_1e9", Family::kMagnitudes, 32},
    {"repeated_and_isotropic", Family::kRepeated, 33},
    {"plane_shear", Family::kPlaneShear, 34},
    {"nearly_repeated_pair", Family::kClosePair, 35},
};

class PropertyTest : public ::testing::TestWithParam<FamilyCase> {};

// The joint's (sigma, tau) lies in the admissible region. The principal
// values, the axes and the joint stresses each carry rounding of a few 1e-15
// of the largest component; 1e-9 of it is far above that and far below any
// real miss. SHmax and Shmin interlace with s1 and s3: both lie within them,
// up to 1e-12 of the largest component.
TEST_P(PropertyTest, JointInsideTheRegionAndQuantitiesInRange) {
  const FamilyCase& c = GetParam();
  stress::testing::TensorSource source(c.family, c.seed);
  std::mt19937_64 random(c.seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int failures = 0;
  for (int n = 0; n < stress::testing::kTensorsPerFamily && failures < 5; ++n) {
    const stress::StressState s = source.Next();
    const double size = static_cast<double>(stress::testing::MaxComponent(s));
    const stress::PrincipalValues v = stress::ComputePrincipalValues(s);
    const stress::PrincipalAxes axes = stress::ComputePrincipalAxes(s, v);
    const stress::JointPlane plane{360.0 * unit(random), 90.0 * unit(random), 60.0 * unit(random),
                                   size * unit(random)};
    const stress::JointStresses j = stress::ComputeJointStresses(v, axes, plane);

    const double tolerance = 1e-9 * size;
    const auto circles = analysis::MohrCircles(v);
    const auto excess = [&j](const analysis::MohrCircle& circle) {
      return std::hypot(j.sigma - circle.centre, j.tau) - circle.radius;
    };
    const double inLarge = excess(circles[0]);
    const double outSmall12 = excess(circles[1]);
    const double outSmall23 = excess(circles[2]);
    const analysis::StressMeasures m = analysis::ComputeStressMeasures(v);
    const analysis::HorizontalStresses h = analysis::ComputeHorizontalStresses(s);
    const analysis::JointAssessment a = analysis::AssessJoint(v, j);
    const double near = 1e-12 * size;
    const double phi = m.stressRatio.value_or(0.5);
    const double td = a.dilationTendency.value_or(0.5);
    // The limit line passes exactly through the joint's (sigma, tauLim).
    const double lineAtJoint =
        analysis::LimitLine(plane.c, plane.phi, std::min(j.sigma, 0.0) - 1.0, j.sigma).back().tau;

    const bool ok = inLarge <= tolerance && outSmall12 >= -tolerance && outSmall23 >= -tolerance &&
                    h.shMax >= h.shMin && h.shMin >= v.s3 - near && h.shMax <= v.s1 + near &&
                    phi >= 0.0 && phi <= 1.0 && m.stressRatio.has_value() == (v.s1 != v.s3) &&
                    td >= 0.0 && td <= 1.0 && lineAtJoint == j.tauLim;
    if (!ok) {
      ++failures;
      ADD_FAILURE() << stress::testing::Describe(s) << " beta=" << plane.beta
                    << " psi=" << plane.psi << ": large circle " << inLarge << ", small "
                    << outSmall12 << " and " << outSmall23 << " (tolerance " << tolerance
                    << "); SHmax " << h.shMax << " Shmin " << h.shMin << " in [" << v.s3 << ", "
                    << v.s1 << "]; Phi " << phi << "; Td " << td << "; line " << lineAtJoint
                    << " vs tauLim " << j.tauLim;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Families, PropertyTest, ::testing::ValuesIn(kPropertyFamilies), RowName());

}  // namespace
