// Planes assessed as the joint: worked planes against 40-digit arithmetic,
// the rake's conventions, and a plane's row against the joint's pass.

#include "engine/plane_results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "analysis/effective_stress.h"
#include "engine/pass.h"
#include "test_names.h"

namespace engine {
namespace {

const stress::StressState kDefaultTensor{3.4, 1.0, 8.0, 1.0, -1.0, 2.0};

PassResults Pass(const stress::StressState& state, double porePressure) {
  PassInputs inputs = PassInputs::Of(state, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = porePressure;
  return RunPass(inputs);
}

std::vector<PlaneResult> Assess(const PassResults& results, const PlaneSet& set,
                                const PlaneDefaults& defaults) {
  std::vector<PlaneResult> out(set.size());
  AssessPlanes(results, set, defaults, 0, set.size(), out.data());
  return out;
}

std::string Fixed(double value, int decimals) {
  if (std::isnan(value))
    return "-";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

struct WorkedRow {
  const char* name;
  double dipDirection;
  double dip;
  const char* sigma;
  const char* tau;
  const char* ts;
  const char* td;
  const char* deltaPc;
  const char* rake;
};

class WorkedPlanes : public ::testing::TestWithParam<WorkedRow> {};

// Default tensor, Pp 0.2, phi 30, c 1; the expected texts from 40-digit
// arithmetic rounded to the shown decimals.
TEST_P(WorkedPlanes, MatchExtendedArithmetic) {
  const WorkedRow& row = GetParam();
  PlaneSet set;
  set.push_back({row.dipDirection, row.dip}, "");
  const PlaneResult r = Assess(Pass(kDefaultTensor, 0.2), set, {30.0, 1.0})[0];
  EXPECT_EQ(Fixed(r.sigma, 3), row.sigma);
  EXPECT_EQ(Fixed(r.tau, 3), row.tau);
  EXPECT_EQ(Fixed(r.ts, 3), row.ts);
  EXPECT_EQ(Fixed(r.td, 3), row.td);
  EXPECT_EQ(Fixed(r.deltaPc, 3), row.deltaPc);
  EXPECT_EQ(Fixed(r.rake, 2), row.rake);
}

INSTANTIATE_TEST_SUITE_P(
    DefaultTensor, WorkedPlanes,
    ::testing::Values(
        WorkedRow{"dd90_dip60", 90, 60, "6.282", "3.014", "0.496", "0.295", "2.593", "-96.97"},
        WorkedRow{"dd270_dip30", 270, 30, "5.118", "3.289", "0.669", "0.431", "0.953", "-114.54"},
        WorkedRow{"dd200_dip90", 200, 90, "1.924", "1.559", "0.904", "0.806", "0.756", "-9.44"},
        WorkedRow{"horizontal", 0, 0, "8.000", "2.236", "0.287", "0.093", "5.659", "-26.57"}),
    test_names::RowName{});

struct RakeRow {
  const char* name;
  stress::StressState state;
  double dipDirection;
  double dip;
  double rake;
};

class RakeConvention : public ::testing::TestWithParam<RakeRow> {};

TEST_P(RakeConvention, NamesTheSenseOfSlip) {
  const RakeRow& row = GetParam();
  PlaneSet set;
  set.push_back({row.dipDirection, row.dip}, "");
  const PlaneResult r = Assess(Pass(row.state, 0.0), set, {30.0, 0.0})[0];
  EXPECT_NEAR(r.rake, row.rake, 1e-9);
}

// s1 vertical over equal horizontals: normal slip on every dipping plane; s1 N-S and s3 E-W
// horizontal: left-lateral on a vertical plane striking N60E, right-lateral
// on one striking N120E; s1 E-W horizontal, s3 vertical: reverse slip.
INSTANTIATE_TEST_SUITE_P(
    Senses, RakeConvention,
    ::testing::Values(RakeRow{"normal_dip30", {3, 3, 10, 0, 0, 0}, 30, 30, -90},
                      RakeRow{"normal_dip75", {3, 3, 10, 0, 0, 0}, 250, 75, -90},
                      RakeRow{"left_lateral_N60E", {1, 10, 5, 0, 0, 0}, 150, 90, 0},
                      RakeRow{"right_lateral_N120E", {1, 10, 5, 0, 0, 0}, 210, 90, 180},
                      RakeRow{"reverse", {10, 5, 1, 0, 0, 0}, 90, 30, 90}),
    test_names::RowName{});

bool Same(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

// A plane's row is the joint's pass with the plane's orientation, friction
// and cohesion, to the bit.
TEST(PlaneResults, RowIsTheJointsToTheBit) {
  std::mt19937_64 random(22);
  std::uniform_real_distribution<double> magnitude(-20.0, 100.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 20000; ++trial) {
    const stress::StressState s{magnitude(random),     magnitude(random),
                                magnitude(random),     magnitude(random) / 3,
                                magnitude(random) / 3, magnitude(random) / 3};
    const double pp = 20.0 * unit(random);
    const Plane plane{360.0 * unit(random), 90.0 * unit(random), 45.0 * unit(random),
                      trial % 3 == 0 ? std::nan("") : 5.0 * unit(random)};
    const PlaneDefaults defaults{30.0, 2.0};
    SCOPED_TRACE(trial);

    PlaneSet set;
    set.push_back(plane, "");
    const PassResults pass = Pass(s, pp);
    ASSERT_TRUE(CanAssessPlanes(pass));
    const PlaneResult r = Assess(pass, set, defaults)[0];

    const stress::JointPlane joint{plane.dipDirection, plane.dip, plane.phi,
                                   CohesionOf(plane, defaults)};
    PassInputs inputs = PassInputs::Of(s, stress::Azimuth::kClockwiseFromNorth, joint);
    inputs.porePressure = pp;
    const PassResults jointPass = RunPass(inputs);
    ASSERT_TRUE(jointPass.jointStresses.has_value());
    const analysis::EffectiveJoint e =
        analysis::AssessEffective(*jointPass.values, *jointPass.jointStresses, joint, pp);
    EXPECT_TRUE(Same(r.sigma, jointPass.jointStresses->sigma));
    EXPECT_TRUE(Same(r.tau, jointPass.jointStresses->tau));
    EXPECT_TRUE(Same(r.sigmaEff, e.sigma.value_or(NAN)));
    EXPECT_TRUE(Same(r.tauLimEff, e.tauLim.value_or(NAN)));
    EXPECT_TRUE(Same(r.ts, e.slipTendency.value_or(NAN)));
    EXPECT_TRUE(Same(r.tsNormalized, e.normalizedSlipTendency.value_or(NAN)));
    EXPECT_TRUE(Same(r.td, e.dilationTendency.value_or(NAN)));
    EXPECT_TRUE(Same(r.factorOfSafety, e.factorOfSafety.value_or(NAN)));
    EXPECT_TRUE(Same(r.cff, e.coulombFailure.value_or(NAN)));
    EXPECT_TRUE(Same(r.deltaPc, e.porePressureToSlip.value_or(NAN)));
  }
}

}  // namespace
}  // namespace engine
