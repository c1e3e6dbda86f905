// Stresses and Mohr-Coulomb strength on a joint.

#include "stress/joint_stresses.h"

#include <gtest/gtest.h>

#include <Eigen/Geometry>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <ostream>
#include <random>
#include <string>
#include <utility>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"
#include "tensor_families.h"
#include "test_names.h"

namespace stress {
namespace {

using test_names::RowName;

using Matrix3L = testing::LongMatrix;
using Vector3L = testing::LongColumn;

struct Principal {
  PrincipalValues values;
  PrincipalAxes lowerAxes;
};

/// Reference principal state: Eigen's eigenpairs in long double, sorted
/// s1 >= s2 >= s3, axes turned to point downward and stored as doubles.
Principal EigenPrincipal(const StressState& s) {
  const testing::Reference reference = testing::Solve(s);
  Principal p;
  p.values = {static_cast<double>(reference.values[0]), static_cast<double>(reference.values[1]),
              static_cast<double>(reference.values[2])};
  for (int i = 0; i < 3; ++i) {
    Vector3L u = reference.axes[static_cast<std::size_t>(i)];
    if (u(2) > 0)
      u = -u;
    p.lowerAxes[static_cast<std::size_t>(i)] = {
        static_cast<double>(u(0)), static_cast<double>(u(1)), static_cast<double>(u(2))};
  }
  return p;
}

JointStresses OnJoint(const StressState& s, const JointPlane& joint) {
  const Principal p = EigenPrincipal(s);
  return ComputeJointStresses(p.values, p.lowerAxes, joint);
}

const StressState kDefaultState{3.4, 1.0, 8.0, 1.0, -1.0, 2.0};
const JointPlane kDefaultJoint{16.0, 33.0, 14.0, 1.0};

// ---------------------------------------------------------------------------
// The joint normal

struct NormalCase {
  const char* name;
  double beta, psi;  // degrees
  Vector3 n;
  double tolerance;
};
void PrintTo(const NormalCase& c, std::ostream* os) {
  *os << c.name;
}

const NormalCase kNormals[] = {
    {"default joint", 16.0, 33.0, {0.150123, 0.523541, 0.838671}, 5e-7},
    {"horizontal", 123.0, 0.0, {0.0, 0.0, 1.0}, 0.0},
    {"vertical dipping north", 0.0, 90.0, {0.0, 1.0, 0.0}, 1e-16},
    {"vertical dipping east", 90.0, 90.0, {1.0, 0.0, 0.0}, 1e-16},
    {"30 deg towards south-west",
     225.0,
     30.0,
     {-0.35355339059327373, -0.35355339059327373, 0.8660254037844386},
     1e-16},
    // Sine and cosine of 2^63 rad or more are 0; 1e21 deg is 1.7e19 rad.
    {"dip direction beyond 2^63 rad", 1e21, 60.0, {0.0, 0.0, 0.5}, 1e-16},
    {"dip beyond 2^63 rad", 60.0, -1e21, {0.0, 0.0, 0.0}, 0.0},
};

class JointNormalTest : public ::testing::TestWithParam<NormalCase> {};
TEST_P(JointNormalTest, MatchesTable) {
  const NormalCase& c = GetParam();
  const Vector3 n = JointNormal(c.beta, c.psi);
  EXPECT_NEAR(n.x, c.n.x, c.tolerance);
  EXPECT_NEAR(n.y, c.n.y, c.tolerance);
  EXPECT_NEAR(n.z, c.n.z, c.tolerance);
}
INSTANTIATE_TEST_SUITE_P(Table, JointNormalTest, ::testing::ValuesIn(kNormals), RowName());

// ---------------------------------------------------------------------------
// Worked example with the principal state as printed (axes to 6 decimals).

TEST(JointWorkedExample, FromThePrintedPrincipalState) {
  const PrincipalValues values{8.793646854800, 3.340850707311, 0.265502437889};
  const PrincipalAxes axes{Vector3{-0.333929, 0.077687, -0.939391},
                           Vector3{0.842622, 0.471273, -0.260557},
                           Vector3{0.422468, -0.878560, -0.222832}};
  const JointStresses r = ComputeJointStresses(values, axes, kDefaultJoint);
  // Each printed axis component is off by up to 5e-7, so each k_i by up to
  // 1.5e-6; sigma moves by up to sum 2 s_i |k_i| dk_i < 2.5e-5, tau and
  // tauLim by as much (7.3e-6, 2.5e-6 and 1.8e-6 here).
  EXPECT_NEAR(r.sigma, 5.7603158423, 2.5e-5);
  EXPECT_NEAR(r.tau, 4.0331418278, 2.5e-5);
  EXPECT_NEAR(r.tauLim, 2.4362080447, 2.5e-5);
}

// ---------------------------------------------------------------------------
// Worked cases from the full tensor (Eigen's principal state).

struct JointCase {
  const char* name;
  StressState state;
  JointPlane joint;
  double sigma, tau, tauLim;
};
void PrintTo(const JointCase& c, std::ostream* os) {
  *os << c.name;
}

const JointCase kJointCases[] = {
    {"default inputs", kDefaultState, kDefaultJoint, 5.7603158423, 4.0331418278, 2.4362080447},
    // Pure tension: the shear keeps its size, an open joint has no strength.
    {"all stresses negated",
     {-3.4, -1.0, -8.0, -1.0, 1.0, -2.0},
     kDefaultJoint,
     -5.7603158423,
     4.0331418278,
     0.0},
    // z is principal (8): a horizontal joint carries it alone; 1 + 8 tan 14.
    {"horizontal joint on a principal plane",
     {3.0, 1.0, 8.0, 1.0, 0.0, 0.0},
     {16.0, 0.0, 14.0, 1.0},
     8.0,
     0.0,
     2.9946240227454455},
    // A friction angle above 90 deg is used as it is: 1 + sigma tan 100.
    {"friction angle 100 deg",
     kDefaultState,
     {16.0, 33.0, 100.0, 1.0},
     5.7603158423,
     4.0331418278,
     -31.668374511691873},
    // Every direction is principal: sigma is the value, no shear; 1 + 5 tan 14.
    {"isotropic", {5.0, 5.0, 5.0, 0.0, 0.0, 0.0}, kDefaultJoint, 5.0, 0.0, 2.2466400142159033},
    {"zero state", {0.0, 0.0, 0.0, 0.0, 0.0, 0.0}, kDefaultJoint, 0.0, 0.0, 1.0},
    // sigma = 0 exactly is not tension: the cohesion stays.
    {"no normal stress on a horizontal joint",
     {3.0, -1.0, 0.0, 0.0, 0.0, 0.0},
     {40.0, 0.0, 30.0, 1.5},
     0.0,
     0.0,
     1.5},
    // Dip direction and dip beyond 2^63 rad have sine and cosine 0: normal
    // (0, 0, 0), so nothing acts on the joint and no error arises.
    {"dip beyond 2^63 rad", kDefaultState, {16.0, 1e21, 14.0, 1.0}, 0.0, 0.0, 1.0},
};

class JointStressesTest : public ::testing::TestWithParam<JointCase> {};
TEST_P(JointStressesTest, MatchesTable) {
  const JointCase& c = GetParam();
  const JointStresses r = OnJoint(c.state, c.joint);
  // Eigen's axes are exact to ~1e-18; the printed values carry 10 decimals.
  EXPECT_NEAR(r.sigma, c.sigma, 1e-9);
  EXPECT_NEAR(r.tau, c.tau, 1e-9);
  EXPECT_NEAR(r.tauLim, c.tauLim, 1e-9);
  EXPECT_GE(r.tau, 0.0);
}
INSTANTIATE_TEST_SUITE_P(Table, JointStressesTest, ::testing::ValuesIn(kJointCases), RowName());

TEST(JointStresses, ExactlyZeroNormalStressKeepsTheCohesion) {
  // Principal axes x, z and y with s2 = 0 on the vertical: a horizontal joint
  // has k = (0, -1, 0), so sigma is exactly 0, not a rounding residue.
  const PrincipalValues values{3.0, 0.0, -1.0};
  const PrincipalAxes axes{Vector3{1, 0, 0}, Vector3{0, 0, -1}, Vector3{0, 1, 0}};
  const JointStresses r = ComputeJointStresses(values, axes, {75.0, 0.0, 30.0, 1.25});
  EXPECT_EQ(r.sigma, 0.0);
  EXPECT_EQ(r.tauLim, 1.25);
}

// ---------------------------------------------------------------------------
// Angles that describe the same plane give the same stresses.

struct SameJointCase {
  const char* name;
  JointPlane a, b;
};
void PrintTo(const SameJointCase& c, std::ostream* os) {
  *os << c.name;
}

const SameJointCase kSameJoints[] = {
    {"dip direction plus a turn", {16.0, 33.0, 14.0, 1.0}, {376.0, 33.0, 14.0, 1.0}},
    {"opposite dip direction and negative dip", {16.0, 33.0, 14.0, 1.0}, {196.0, -33.0, 14.0, 1.0}},
    {"opposite dip direction and supplementary dip",
     {16.0, 33.0, 14.0, 1.0},
     {196.0, 147.0, 14.0, 1.0}},
    {"negative dip direction", {-100.0, 70.0, 14.0, 1.0}, {260.0, 70.0, 14.0, 1.0}},
};

class SameJointTest : public ::testing::TestWithParam<SameJointCase> {};
TEST_P(SameJointTest, GivesTheSameStresses) {
  const SameJointCase& c = GetParam();
  const JointStresses a = OnJoint(kDefaultState, c.a);
  const JointStresses b = OnJoint(kDefaultState, c.b);
  EXPECT_NEAR(a.sigma, b.sigma, 1e-13);
  EXPECT_NEAR(a.tau, b.tau, 1e-13);
  EXPECT_NEAR(a.tauLim, b.tauLim, 1e-13);
}
INSTANTIATE_TEST_SUITE_P(Table, SameJointTest, ::testing::ValuesIn(kSameJoints), RowName());

// ---------------------------------------------------------------------------
// The friction angle's tangent

struct FrictionCase {
  const char* name;
  double phi;  // degrees
  bool fails;
};
void PrintTo(const FrictionCase& c, std::ostream* os) {
  *os << c.name;
}

// phi * pi / 180 reaches 2^63 at phi = 5.2846e20 degrees.
const FrictionCase kFrictionCases[] = {
    {"just below 2^63 rad", 5.28e20, false},
    {"just above 2^63 rad", 5.29e20, true},
    {"negative beyond 2^63 rad", -1e21, true},
    {"far beyond", 1e300, true},
};

class FrictionLimitTest : public ::testing::TestWithParam<FrictionCase> {};
TEST_P(FrictionLimitTest, TangentBeyondTwoTo63IsAnInvalidOperation) {
  const FrictionCase& c = GetParam();
  // Also under tension, where the tangent is taken before the cut-off.
  for (const StressState& s : {kDefaultState, StressState{-3.4, -1.0, -8.0, -1.0, 1.0, -2.0}}) {
    const JointPlane joint{16.0, 33.0, c.phi, 1.0};
    if (!c.fails) {
      EXPECT_NO_THROW(OnJoint(s, joint));
      continue;
    }
    try {
      OnJoint(s, joint);
      ADD_FAILURE() << "no error for phi = " << c.phi;
    } catch (const numeric::FloatingPointError& e) {
      EXPECT_STREQ(e.what(), "Invalid floating point operation");
    }
  }
}
INSTANTIATE_TEST_SUITE_P(Table, FrictionLimitTest, ::testing::ValuesIn(kFrictionCases), RowName());

// ---------------------------------------------------------------------------
// Property: the principal-frame formulas agree with the full tensor.

Matrix3L RandomRotation(std::mt19937_64& rng) {
  std::normal_distribution<long double> g;
  Eigen::Quaternion<long double> q(g(rng), g(rng), g(rng), g(rng));
  q.normalize();
  return q.toRotationMatrix();
}

enum class Family { Ordinary, WideMagnitudes, RepeatedValues, NearlyIsotropic, ZeroComponents };

struct FamilyCase {
  const char* name;
  Family family;
};
void PrintTo(const FamilyCase& c, std::ostream* os) {
  *os << c.name;
}

StressState RandomState(Family family, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  switch (family) {
    case Family::Ordinary:
      return {10 * unit(rng), 10 * unit(rng), 10 * unit(rng),
              10 * unit(rng), 10 * unit(rng), 10 * unit(rng)};
    case Family::WideMagnitudes: {
      const double scale = std::pow(10.0, 7.5 * unit(rng) + 1.5);  // 1e-6 .. 1e9
      return {scale * unit(rng), scale * unit(rng), scale * unit(rng),
              scale * unit(rng), scale * unit(rng), scale * unit(rng)};
    }
    case Family::RepeatedValues: {
      const long double a = 10 * unit(rng);
      const long double b = 10 * unit(rng);
      const Matrix3L r = RandomRotation(rng);
      const Matrix3L d = Vector3L(a, a, b).asDiagonal();
      return testing::FromMatrix(r * d * r.transpose());
    }
    case Family::NearlyIsotropic: {
      const double mean = 100 * unit(rng);
      const double e = 1e-9 * std::fabs(mean);
      return {mean + e * unit(rng), mean + e * unit(rng), mean + e * unit(rng),
              e * unit(rng),        e * unit(rng),        e * unit(rng)};
    }
    case Family::ZeroComponents: {
      StressState s{10 * unit(rng), 10 * unit(rng), 10 * unit(rng),
                    10 * unit(rng), 10 * unit(rng), 10 * unit(rng)};
      double* c[6] = {&s.sx, &s.sy, &s.sz, &s.txy, &s.tyz, &s.tzx};
      for (double* v : c) {
        if (unit(rng) < 0.0)
          *v = 0.0;
      }
      return s;
    }
  }
  return {};
}

const FamilyCase kFamilies[] = {
    {"ordinary", Family::Ordinary},
    {"magnitudes 1e-6 to 1e9", Family::WideMagnitudes},
    {"repeated values", Family::RepeatedValues},
    {"nearly isotropic", Family::NearlyIsotropic},
    {"zero components", Family::ZeroComponents},
};

/// Distance of the joint's results from n.S.n and |S n - sigma n| of the
/// full tensor, in units of its largest component magnitude.
struct RelativeError {
  long double sigma, tau, scale;
};
RelativeError AgainstFullTensor(const StressState& s, const Vector3L& n, const JointStresses& r) {
  const Matrix3L m = testing::ToMatrix(s);
  const Vector3L traction = m * n;
  const long double sigma = n.dot(traction);
  const long double tau = (traction - sigma * n).norm();
  const long double scale = std::max(m.cwiseAbs().maxCoeff(), 1e-300L);
  return {std::fabs(r.sigma - sigma) / scale, std::fabs(r.tau - tau) / scale, scale};
}

class JointPropertyTest : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(JointPropertyTest, AgreesWithTheFullTensor) {
  // sigma = n.S.n and tau = |S n - sigma n|, evaluated in long double from the
  // tensor itself. Both sides round the axes (to double) and the normal, so
  // they differ by a few 1e-16 of the largest stress magnitude m. They are
  // held to 1e-12 m, well inside the 1e-9 m asked of the program and tight
  // enough to mean something for the nearly isotropic family, whose shear is
  // only about 1e-9 m.
  // The point (sigma, tau) must also lie inside Mohr's outer circle.
  const FamilyCase& c = GetParam();
  std::mt19937_64 rng(0x4b656c76 + static_cast<unsigned>(c.family));
  std::uniform_real_distribution<double> betaDist(-720.0, 720.0);
  std::uniform_real_distribution<double> psiDist(-200.0, 200.0);
  constexpr int kCount = 20000;
  long double worstSigma = 0.0L, worstTau = 0.0L, worstMohr = 0.0L;
  for (int i = 0; i < kCount; ++i) {
    const StressState s = RandomState(c.family, rng);
    const JointPlane joint{betaDist(rng), psiDist(rng), 30.0, 1.0};
    const Principal p = EigenPrincipal(s);
    const JointStresses r = ComputeJointStresses(p.values, p.lowerAxes, joint);

    const long double b = numeric::DegreesToRadians(joint.beta);
    const long double d = numeric::DegreesToRadians(joint.psi);
    const Vector3L n(std::sin(b) * std::sin(d), std::cos(b) * std::sin(d), std::cos(d));
    const RelativeError err = AgainstFullTensor(s, n, r);
    const long double centre = (p.values.s1 + static_cast<long double>(p.values.s3)) / 2;
    const long double radius = (p.values.s1 - static_cast<long double>(p.values.s3)) / 2;
    const long double outside =
        std::hypot(r.sigma - centre, static_cast<long double>(r.tau)) - radius;
    worstSigma = std::max(worstSigma, err.sigma);
    worstTau = std::max(worstTau, err.tau);
    worstMohr = std::max(worstMohr, outside / err.scale);
    ASSERT_LE(err.sigma, 1e-12L) << "sample " << i;
    ASSERT_LE(err.tau, 1e-12L) << "sample " << i;
    ASSERT_LE(outside / err.scale, 1e-12L) << "sample " << i;
  }
  std::cout << c.name << ": " << kCount
            << " joints, worst |sigma - n.S.n| / max|S| = " << static_cast<double>(worstSigma)
            << ", worst |tau - |S n - sigma n|| / max|S| = " << static_cast<double>(worstTau)
            << ", worst excess over Mohr's circle / max|S| = " << static_cast<double>(worstMohr)
            << "\n";
}
INSTANTIATE_TEST_SUITE_P(Families, JointPropertyTest, ::testing::ValuesIn(kFamilies), RowName());

// The same property with the program's own principal state, as the window
// computes it: values, axes, and the axes turned downward.
class JointFromProgramStateTest : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(JointFromProgramStateTest, AgreesWithTheFullTensor) {
  // Held to 1e-9 of the largest stress magnitude: the principal axes are
  // exact to about 1e-10 max|S| in their residual |S u - s u|.
  const FamilyCase& c = GetParam();
  std::mt19937_64 rng(0x6a6f696e + static_cast<unsigned>(c.family));
  std::uniform_real_distribution<double> betaDist(-720.0, 720.0);
  std::uniform_real_distribution<double> psiDist(-200.0, 200.0);
  constexpr int kCount = 20000;
  long double worstSigma = 0.0L, worstTau = 0.0L;
  for (int i = 0; i < kCount; ++i) {
    const StressState s = RandomState(c.family, rng);
    const JointPlane joint{betaDist(rng), psiDist(rng), 30.0, 1.0};
    const PrincipalValues values = ComputePrincipalValues(s);
    PrincipalAxes lower;
    for (int k = 0; k < 3; ++k) {
      lower[static_cast<std::size_t>(k)] =
          AxisOrientation(PrincipalAxis(s, values, k), Azimuth::kClockwiseFromNorth).lower;
    }
    const JointStresses r = ComputeJointStresses(values, lower, joint);

    const Vector3 n = JointNormal(joint.beta, joint.psi);
    const RelativeError err = AgainstFullTensor(s, Vector3L(n.x, n.y, n.z), r);
    worstSigma = std::max(worstSigma, err.sigma);
    worstTau = std::max(worstTau, err.tau);
    ASSERT_LE(err.sigma, 1e-9L) << "sample " << i;
    ASSERT_LE(err.tau, 1e-9L) << "sample " << i;
  }
  std::cout << c.name << ": " << kCount << " joints on the program's principal state, worst "
            << "sigma error / max|S| = " << static_cast<double>(worstSigma)
            << ", worst tau error / max|S| = " << static_cast<double>(worstTau) << "\n";
}
INSTANTIATE_TEST_SUITE_P(Families, JointFromProgramStateTest, ::testing::ValuesIn(kFamilies),
                         RowName());

}  // namespace
}  // namespace stress
