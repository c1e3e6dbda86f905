#include "analysis/effective_stress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "stress/joint_stresses.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"
#include "test_names.h"

namespace analysis {
namespace {

using test_names::RowName;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();  // an empty optional
constexpr double kInf = std::numeric_limits<double>::infinity();

/// The joint's total stresses as the pass computes them.
stress::JointStresses Joint(const stress::StressState& s, const stress::JointPlane& j,
                            stress::PrincipalValues* values) {
  *values = stress::ComputePrincipalValues(s);
  const stress::PrincipalAxes axes = stress::ComputePrincipalAxes(s, *values);
  stress::PrincipalAxes lower{};
  for (int i = 0; i < 3; ++i)
    lower[i] = stress::AxisOrientation(axes[i], stress::Azimuth::kClockwiseFromNorth).lower;
  return stress::ComputeJointStresses(*values, lower, j);
}

struct EffectiveCase {
  const char* name;
  stress::StressState state;
  stress::JointPlane joint;  // beta, psi, phi, c
  double pp;
  // sigma', tauLim', Ts, Ts,max, Ts/Ts,max, Td, F, CFF, dPc; NaN for none
  double expected[9];
  std::optional<JointState> jointState;
};

const stress::StressState kDefault{3.4, 1, 8, 1, -1, 2};

// Reference values from an independent script: the closed-form eigenvalues
// and n.S.n in double, the definitions written out directly.
const EffectiveCase kCases[] = {
    {"worked example",
     kDefault,
     {16, 33, 30, 1},
     0.2,
     {5.560316, 4.210250, 0.725344, 5.683385, 0.127625, 0.355685, 1.043913, -0.177108, 0.306760},
     JointState::kStable},
    {"no pore pressure",
     kDefault,
     {16, 33, 30, 1},
     0.0,
     {5.760316, 4.325720, 0.700160, 2.790653, 0.250895, 0.355685, 1.072543, -0.292578, 0.506760},
     JointState::kStable},
    {"effective normal stress exactly zero",
     {2, 2, 2, 0, 0, 0},
     {16, 33, 30, 1},
     2.0,
     {0, 1, kNone, kNone, kNone, kNone, kInf, -1, 1.732051},
     JointState::kStable},
    {"s3' not above zero",
     kDefault,
     {16, 33, 30, 1},
     0.3,
     {5.460316, 4.152515, 0.738628, kNone, kNone, 0.355685, 1.029598, -0.119373, 0.206760},
     JointState::kStable},
    {"no friction",
     kDefault,
     {16, 33, 0, 1},
     0.2,
     {5.560316, 1, 0.725344, 5.683385, 0.127625, 0.355685, 0.247946, 3.033142, kNone},
     JointState::kSlips},
    {"no shear and no strength",
     {10, 10, 5, 0, 0, 0},
     {0, 0, 30, 0},
     5.0,
     {0, 0, kNone, kNone, kNone, 1, kNone, 0, 0},
     JointState::kSlips},
    {"pore pressure above s1 opens",
     kDefault,
     {16, 33, 30, 1},
     9.0,
     {-3.239684, 0, kNone, kNone, kNone, 0.355685, 0, 4.033142, -8.493240},
     JointState::kOpens},
};

class EffectiveTest : public ::testing::TestWithParam<EffectiveCase> {};

TEST_P(EffectiveTest, RowsAsComputed) {
  const EffectiveCase& c = GetParam();
  stress::PrincipalValues values;
  const stress::JointStresses total = Joint(c.state, c.joint, &values);
  const EffectiveJoint e = AssessEffective(values, total, c.joint, c.pp);
  const std::optional<double> got[] = {e.sigma,
                                       e.tauLim,
                                       e.slipTendency,
                                       e.slipTendencyMax,
                                       e.normalizedSlipTendency,
                                       e.dilationTendency,
                                       e.factorOfSafety,
                                       e.coulombFailure,
                                       e.porePressureToSlip};
  const char* names[] = {"sigma'", "tauLim'", "Ts", "Ts,max", "Ts/Ts,max", "Td", "F", "CFF", "dPc"};
  for (int i = 0; i < 9; ++i) {
    if (std::isnan(c.expected[i])) {
      EXPECT_FALSE(got[i].has_value()) << names[i] << " = " << got[i].value_or(0);
    } else if (std::isinf(c.expected[i])) {
      EXPECT_EQ(got[i], c.expected[i]) << names[i];
    } else {
      ASSERT_TRUE(got[i].has_value()) << names[i];
      EXPECT_NEAR(*got[i], c.expected[i], 5e-7) << names[i];
    }
  }
  EXPECT_EQ(e.state, c.jointState);
  if (c.pp == 0.0) {
    EXPECT_EQ(e.sigma, total.sigma) << "to the bit";
    EXPECT_EQ(e.tauLim, total.tauLim) << "to the bit";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, EffectiveTest, ::testing::ValuesIn(kCases), RowName());

// Over random states, joints and pore pressures: raising Pp by dPc puts the
// joint on its limit line (CFF = 0 to 1e-9 max|S|), and no joint's Ts
// exceeds Ts,max.
TEST(AssessEffective, PressureToSlipReachesTheLimitAndTsStaysBelowItsMaximum) {
  std::mt19937_64 random(24);
  std::uniform_real_distribution<double> component(-20.0, 100.0);
  std::uniform_real_distribution<double> shear(-30.0, 30.0);
  std::uniform_real_distribution<double> angle(0.0, 360.0);
  std::uniform_real_distribution<double> dip(0.0, 90.0);
  std::uniform_real_distribution<double> friction(5.0, 45.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int limits = 0;
  for (int n = 0; n < 20000; ++n) {
    const stress::StressState s{component(random), component(random), component(random),
                                shear(random),     shear(random),     shear(random)};
    const stress::JointPlane j{angle(random), dip(random), friction(random), 5.0 * unit(random)};
    stress::PrincipalValues v;
    const stress::JointStresses total = Joint(s, j, &v);
    const double size = std::max(std::fabs(v.s1), std::fabs(v.s3));
    const double pp = v.s3 * unit(random);
    const EffectiveJoint e = AssessEffective(v, total, j, pp);
    if (e.slipTendency && e.slipTendencyMax) {
      ASSERT_LE(*e.slipTendency, *e.slipTendencyMax * (1 + 1e-12)) << n;
    }
    ASSERT_TRUE(e.porePressureToSlip.has_value()) << n;
    const EffectiveJoint onLimit = AssessEffective(v, total, j, pp + *e.porePressureToSlip);
    if (onLimit.sigma.value_or(-1) >= 0) {
      ++limits;
      ASSERT_NEAR(onLimit.coulombFailure.value(), 0.0, 1e-9 * size) << n;
    }
  }
  EXPECT_GT(limits, 10000);
}

}  // namespace
}  // namespace analysis
