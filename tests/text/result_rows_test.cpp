// The derived quantities where they are undefined or decided by rounding
// residue: what the Mohr window, Copy and the report show.

#include "text/result_rows.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "analysis/stress_builders.h"
#include "engine/pass.h"
#include "test_names.h"

namespace text {
namespace {

using stress::Azimuth;
using test_names::RowName;

const char* const kDash = "\u2014";

struct EdgeCase {
  const char* name;
  stress::StressState state;
  std::optional<stress::JointPlane> joint;  // beta, psi, phi, c
  std::map<Derived, const char*> shown;
  Azimuth azimuth = Azimuth::kClockwiseFromNorth;
  double porePressure = 0.0;
};

const EdgeCase kEdgeCases[] = {
    {"no shear and no strength in tension",
     {-5, -5, -5, 0, 0, 0},
     stress::JointPlane{10, 20, 30, 1},
     {{Derived::kFactorOfSafety, kDash}, {Derived::kJointState, "opens (\u03c3 < 0)"}}},
    {"no shear and no strength at zero",
     {10, 10, 0, 0, 0, 0},
     stress::JointPlane{0, 0, 30, 0},
     {{Derived::kFactorOfSafety, kDash},
      {Derived::kJointState, "slips (\u03c4 \u2265 \u03c4lim)"}}},
    // cos(pi/2) leaves a shear of about 1e-15 where it is exactly 0.
    {"shear residue on a principal plane",
     {60, 40, 25, 0, 0, 0},
     stress::JointPlane{90, 90, 30, 0},
     {{Derived::kFactorOfSafety, "\u221e"},
      {Derived::kSlipTendency, "0.000"},
      {Derived::kJointState, "stable (\u03c4 < \u03c4lim)"}}},
    {"shear residue under a steep friction",
     {60, 40, 25, 0, 0, 0},
     stress::JointPlane{0, 180, 89.9, 1.5},
     {{Derived::kFactorOfSafety, "\u221e"}}},
    {"residue against a negative limit is no infinity",
     {60, 40, 25, 0, 0, 0},
     stress::JointPlane{90, 90, 30, -1e300},
     {{Derived::kFactorOfSafety, kDash}}},
    {"values one rounding apart have no shape",
     {1.0000000000000002, 1, 1, 0, 0, 0},
     stress::JointPlane{16, 33, 14, 1},
     {{Derived::kStressRatio, kDash},
      {Derived::kDilationTendency, kDash},
      {Derived::kRegime, kDash}}},
    {"friction of ninety degrees has no limit",
     {3.4, 1, 8, 1, -1, 2},
     stress::JointPlane{16, 33, 90, 1},
     {{Derived::kFactorOfSafety, kDash},
      {Derived::kJointState, kDash},
      {Derived::kCoulombFailure, kDash},
      {Derived::kPorePressureToSlip, kDash},
      {Derived::kSlipTendency, "0.700"}}},
    {"friction of minus ninety degrees has no limit",
     {3.4, 1, 8, 1, -1, 2},
     stress::JointPlane{16, 33, -90, 1},
     {{Derived::kFactorOfSafety, kDash}, {Derived::kJointState, kDash}}},
    {"SHmax a hair west of North shows at 0.00",
     {1.0000000006092349, 2.999999999390765, 1, -3.4906585033395854e-05, 0, 0},
     std::nullopt,
     {{Derived::kShMaxAzimuth, "0.00"}}},
    {"SHmax azimuth from East",
     {3.4, 1, 8, 1, -1, 2},
     std::nullopt,
     {{Derived::kShMaxAzimuth, "19.90"}},
     Azimuth::kCounterClockwiseFromEast},
    {"SHmax azimuth from North",
     {3.4, 1, 8, 1, -1, 2},
     std::nullopt,
     {{Derived::kShMaxAzimuth, "70.10"}}},
    // Plunges s1 0, s2 0, s3 90: strike-slip, not thrust.
    {"regime from the plunges of s1, s2 and s3 in turn",
     {3, 1, 2, 0, 0, 0},
     std::nullopt,
     {{Derived::kRegime, "SS: strike-slip faulting"}}},
    {"pore pressure primes the state",
     {3.4, 1, 8, 1, -1, 2},
     stress::JointPlane{16, 33, 30, 1},
     {{Derived::kJointState, "stable (\u03c4 < \u03c4lim\u2032)"},
      {Derived::kEffectiveS3, "0.066"}},
     Azimuth::kClockwiseFromNorth,
     0.2},
};

class EdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(EdgeTest, ShowsTheRowsAsDefined) {
  const EdgeCase& c = GetParam();
  engine::PassInputs inputs = engine::PassInputs::Of(c.state, c.azimuth, c.joint);
  inputs.porePressure = c.porePressure;
  const engine::PassResults results = engine::RunPass(inputs);
  ASSERT_FALSE(results.stop.has_value()) << results.stop->message;
  const auto texts = DerivedTexts(results, {});
  for (const auto& [which, text] : c.shown) {
    EXPECT_EQ(texts[static_cast<std::size_t>(which)].toStdString(), text)
        << DerivedName(which, c.azimuth).toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Table, EdgeTest, ::testing::ValuesIn(kEdgeCases), RowName());

// Copy and the report give an input as it would be typed: up to 15
// significant digits, no trailing zeros.
TEST(InputRows, GiveInputsAsTyped) {
  const engine::PassResults results = engine::RunPass(engine::PassInputs::Of(
      {0.0000001, 123456.789, -2.5e-9, 1e15, 0, -1}, Azimuth::kClockwiseFromNorth));
  const QList<ResultRow> rows = InputRows(results, {});
  const char* expected[] = {"0.0000001", "123,456.789", "-0.0000000025", "1E15", "0", "-1"};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(rows[i].value.toStdString(), expected[i]) << rows[i].name.toStdString();
}

// States built with an exactly repeated pair, in random orientations and
// rounded to double, show no regime (the pair's axes are arbitrary), and no
// shape ratio or dilation tendency when all three agree.
TEST(RepeatedPair, ShowsNoRegimeInAnyOrientation) {
  std::uint64_t seed = 26;
  const auto next = [&seed] {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(seed >> 11) / static_cast<double>(1ULL << 53);
  };
  for (int n = 0; n < 2000; ++n) {
    const double high = 20.0 + 80.0 * next();
    const double low = high - 5.0 - 10.0 * next();
    const bool upperPair = n % 2 == 0;
    analysis::PrincipalInput in{high, upperPair ? high : low, low};
    in.s1Azimuth = 360.0 * next();
    in.s1Dip = 90.0 * next();
    // s3 at right angles to s1: its dip direction opposite, its dip the complement.
    in.s3Azimuth = in.s1Azimuth + 180.0;
    in.s3Dip = 90.0 - in.s1Dip;
    const analysis::BuiltState built = analysis::BuildFromPrincipal(in);
    ASSERT_TRUE(built.state.has_value()) << built.problem;
    const engine::PassResults results = engine::RunPass(
        engine::PassInputs::Of(*built.state, Azimuth::kClockwiseFromNorth,
                               stress::JointPlane{360.0 * next(), 90.0 * next(), 30, 1}));
    ASSERT_FALSE(results.stop.has_value());
    const auto texts = DerivedTexts(results, {});
    EXPECT_EQ(texts[static_cast<std::size_t>(Derived::kRegime)].toStdString(), kDash) << n;
    EXPECT_NE(texts[static_cast<std::size_t>(Derived::kStressRatio)].toStdString(), kDash) << n;
  }
}

}  // namespace
}  // namespace text
