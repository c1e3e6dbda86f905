// The stress polygon: its corners against worked values, the standing of
// points worked by hand, and, over many generated states, that a state on a
// limit lies on the polygon's edge and brings its best-oriented plane exactly
// to slip under the joint's own assessment.

#include "analysis/stress_polygon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "analysis/effective_stress.h"
#include "stress/joint_stresses.h"
#include "stress/principal_axes.h"
#include "stress/principal_values.h"
#include "test_names.h"

namespace analysis {
namespace {

using test_names::RowName;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// ---------------------------------------------------------------------------
// Corners. Sv 48, Pp 19, mu 0.6 is the published example (f = 3.1194, Shmin
// >= 28.30, SHmax <= 109.46); mu 1 has f = 3 + 2 sqrt 2 by hand; mu 0 has no
// strength and the polygon shrinks to (Sv, Sv).

struct CornerCase {
  const char* name;
  double sv, pp, mu;
  const char* f;
  const char* shMinLowest;
  const char* shMaxHighest;
};

const CornerCase kCornerCases[] = {
    {"Sv 48 Pp 19 mu 0.6", 48, 19, 0.6, "3.1194", "28.30", "109.46"},
    {"Sv 100 Pp 40 mu 1", 100, 40, 1.0, "5.8284", "50.29", "389.71"},
    {"no friction", 48, 19, 0.0, "1.0000", "48.00", "48.00"},
};

class CornerTest : public ::testing::TestWithParam<CornerCase> {};

TEST_P(CornerTest, MatchWorkedValues) {
  const CornerCase& c = GetParam();
  const BuiltPolygon built = BuildStressPolygon(c.sv, c.pp, c.mu);
  ASSERT_TRUE(built.polygon.has_value()) << built.problem;
  const StressPolygon& p = *built.polygon;
  EXPECT_EQ(Fixed(p.ratio, 4), c.f);
  EXPECT_EQ(Fixed(FrictionalRatio(c.mu), 4), c.f);
  EXPECT_EQ(Fixed(p.shMinLowest, 2), c.shMinLowest);
  EXPECT_EQ(Fixed(p.shMaxHighest, 2), c.shMaxHighest);
  // (a, a), (b, b), (Sv, b), (a, Sv).
  const std::string a = c.shMinLowest, b = c.shMaxHighest, v = Fixed(c.sv, 2);
  const std::vector<std::string> expected = {a + " " + a, b + " " + b, v + " " + b, a + " " + v};
  std::vector<std::string> corners;
  for (const PolygonPoint& q : PolygonCorners(p))
    corners.push_back(Fixed(q.shMin, 2) + " " + Fixed(q.shMax, 2));
  EXPECT_EQ(corners, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, CornerTest, ::testing::ValuesIn(kCornerCases), RowName());

struct RefusedCase {
  const char* name;
  double sv, pp, mu;
  const char* problem;
};

const RefusedCase kRefusedCases[] = {
    {"Pp equal to Sv", 30, 30, 0.6, "Sv must exceed Pp"},
    {"negative mu", 48, 19, -0.1, "mu must not be negative"},
    {"mu not a number", 48, 19, NAN, "Sv, Pp and mu must be numbers"},
    {"limit beyond the range", 1e308, -1e308, 0.6, "The limits leave the range of numbers"},
};

class RefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTest, NamesTheProblem) {
  const RefusedCase& c = GetParam();
  const BuiltPolygon built = BuildStressPolygon(c.sv, c.pp, c.mu);
  EXPECT_FALSE(built.polygon.has_value());
  EXPECT_EQ(built.problem, c.problem);
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedTest, ::testing::ValuesIn(kRefusedCases), RowName());

// ---------------------------------------------------------------------------
// Points under Sv 48, Pp 19, mu 0.6 (f = 3.119428, Shmin >= 28.296575,
// SHmax <= 109.463425), their excess worked by hand from the definitions.

struct StandingCase {
  const char* name;
  PolygonPoint point;
  AndersonRegime field;
  bool inside;
  const char* excess;
};

const StandingCase kStandingCases[] = {
    {"normal inside", {30, 40}, AndersonRegime::kNormal, true, "0.000"},
    // 28.296575 - 25
    {"normal Shmin too low", {25, 40}, AndersonRegime::kNormal, false, "3.297"},
    // 80 - (19 + f 16) = 80 - 68.910855
    {"strike-slip SHmax too high", {35, 80}, AndersonRegime::kStrikeSlip, false, "11.089"},
    // 120 - 109.463425
    {"reverse SHmax too high", {60, 120}, AndersonRegime::kReverse, false, "10.537"},
    // The SS limit at Shmin = Sv is the RF limit: 109.463425 + 0.5.
    {"on Shmin = Sv beyond the corner",
     {48, 109.963425},
     AndersonRegime::kStrikeSlip,
     false,
     "0.500"},
    {"on SHmax = Sv", {30, 48}, AndersonRegime::kStrikeSlip, true, "0.000"},
    // Taken in order as (30, 40): within the NF limit, 10 out of order.
    {"values out of order", {40, 30}, AndersonRegime::kNormal, false, "10.000"},
    // NF limit 3.297 short; SS inequality, 45 - 19 - f 6 = 7.283, not counted.
    {"normal field below the strike-slip line", {25, 45}, AndersonRegime::kNormal, false, "3.297"},
};

class StandingTest : public ::testing::TestWithParam<StandingCase> {};

TEST_P(StandingTest, FieldInsideAndExcess) {
  const StandingCase& c = GetParam();
  const StressPolygon p = *BuildStressPolygon(48, 19, 0.6).polygon;
  const PolygonStanding s = StandingOf(p, c.point);
  EXPECT_EQ(s.field, c.field);
  EXPECT_EQ(s.inside, c.inside);
  EXPECT_EQ(Fixed(s.excess, 3), c.excess);
}

INSTANTIATE_TEST_SUITE_P(Table, StandingTest, ::testing::ValuesIn(kStandingCases), RowName());

// Each field's centroid lies inside the polygon, in that field.
TEST(StressPolygon, FieldCentroidsStandInTheirFields) {
  const StressPolygon p = *BuildStressPolygon(48, 19, 0.6).polygon;
  const PolygonFields fields = FieldsOf(p);
  const std::vector<PolygonPoint>* triangles[] = {&fields.normal, &fields.strikeSlip,
                                                  &fields.reverse};
  const AndersonRegime regimes[] = {AndersonRegime::kNormal, AndersonRegime::kStrikeSlip,
                                    AndersonRegime::kReverse};
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(triangles[k]->size(), 3u);
    PolygonPoint c;
    for (const PolygonPoint& q : *triangles[k])
      c = {c.shMin + q.shMin / 3, c.shMax + q.shMax / 3};
    EXPECT_EQ(StandingOf(p, c).field, regimes[k]);
    EXPECT_TRUE(StandingOf(p, c).inside);
  }
}

// ---------------------------------------------------------------------------
// States on the limits, over many generated depths.

/// f from its second form, tan^2(45 + phi / 2), phi = atan(mu).
double RatioByAngle(double mu) {
  const double t = std::tan(M_PI / 4 + std::atan(mu) / 2);
  return t * t;
}

struct Depth {
  double sv, pp, mu, azimuth;
};

Depth RandomDepth(std::mt19937_64& random) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double sv = 5.0 + 195.0 * unit(random);
  return {sv, sv * 0.6 * unit(random), 0.3 + 0.7 * unit(random), 360.0 * unit(random)};
}

const AndersonRegime kLimits[] = {AndersonRegime::kNormal, AndersonRegime::kStrikeSlip,
                                  AndersonRegime::kReverse};

// Shmin and SHmax on the limit of `limit` at fraction u along it, from the
// limits' second form.
PolygonPoint OnLimit(AndersonRegime limit, const Depth& d, double f, double u) {
  const double a = d.pp + (d.sv - d.pp) / f;
  const double b = d.pp + f * (d.sv - d.pp);
  switch (limit) {
    case AndersonRegime::kNormal:
      return {a, a + u * (d.sv - a)};
    case AndersonRegime::kStrikeSlip: {
      const double shMin = a + u * (d.sv - a);
      return {shMin, d.pp + f * (shMin - d.pp)};
    }
    case AndersonRegime::kReverse:
      return {d.sv + u * (b - d.sv), b};
  }
  return {};
}

// A state built on each limit, through its tensor at a random azimuth, is on
// the polygon's edge: inside with no excess, and outside by 1e-6 Sv when
// moved out by that much. The
// tensor and its horizontal values carry a few 1e-16 of SHmax, which the SS
// limit multiplies by f < 6: 1e-13 Sv covers both with room.
TEST(StressPolygon, StatesOnEachLimitLieOnTheEdge) {
  std::mt19937_64 random(35);
  std::uniform_real_distribution<double> unit(0.02, 0.98);
  for (int n = 0; n < 3000; ++n) {
    const Depth d = RandomDepth(random);
    const double f = RatioByAngle(d.mu);
    const StressPolygon p = *BuildStressPolygon(d.sv, d.pp, d.mu).polygon;
    const double tolerance = 1e-13 * f * d.sv;
    for (const AndersonRegime limit : kLimits) {
      SCOPED_TRACE(::testing::Message() << n << " limit " << static_cast<int>(limit));
      const PolygonPoint exact = OnLimit(limit, d, f, unit(random));
      const PolygonPoint q =
          HorizontalPoint(HorizontalTensor(d.sv, exact.shMax, exact.shMin, d.azimuth));
      ASSERT_NEAR(q.shMin, exact.shMin, tolerance);
      ASSERT_NEAR(q.shMax, exact.shMax, tolerance);
      const PolygonStanding on = StandingOf(p, q);
      ASSERT_EQ(on.field, limit);
      ASSERT_TRUE(on.inside);
      ASSERT_EQ(on.excess, 0.0);

      const double delta = 1e-6 * d.sv;
      PolygonPoint out = q, in = q;
      if (limit == AndersonRegime::kNormal) {
        out.shMin -= delta;
        in.shMin += delta;
      } else {
        out.shMax += delta;
        in.shMax -= delta;
      }
      const PolygonStanding beyond = StandingOf(p, out);
      ASSERT_FALSE(beyond.inside);
      ASSERT_NEAR(beyond.excess, delta, tolerance);
      ASSERT_TRUE(StandingOf(p, in).inside);
    }
  }
}

/// The plane whose normal lies at 45 + phi / 2 from s1 towards s3, holding
/// s2: the best-oriented plane of a state in the regime `limit` with SHmax at
/// `azimuth`. Normal faults dip at that angle towards Shmin; strike-slip
/// faults are vertical, their normal turned from SHmax; thrusts dip at
/// 45 - phi / 2 towards SHmax.
stress::JointPlane BestPlane(AndersonRegime limit, double azimuth, double phi) {
  const double theta = 45.0 + phi / 2;
  switch (limit) {
    case AndersonRegime::kNormal:
      return {azimuth + 90.0, theta, phi, 0.0};
    case AndersonRegime::kStrikeSlip:
      return {azimuth + theta, 90.0, phi, 0.0};
    case AndersonRegime::kReverse:
      return {azimuth, 90.0 - theta, phi, 0.0};
  }
  return {};
}

// A state on each of the polygon's limits, assessed by the joint's own
// functions with Pp and cohesion 0: its best-oriented plane has CFF = 0 and
// dPc = 0, and no other plane has a negative dPc. The principal values are
// good to a few 1e-15 of the largest (~ f Sv), sigma and tau likewise, and
// dPc = sigma' - tau / mu divides by mu >= 0.3; the plane's angles enter only
// to second order at the optimum: 1e-12 f Sv bounds it.
TEST(StressPolygon, BestPlaneOfAStateOnALimitIsAboutToSlip) {
  std::mt19937_64 random(36);
  std::uniform_real_distribution<double> unit(0.02, 0.98);
  std::uniform_real_distribution<double> angle(0.0, 1.0);
  for (int n = 0; n < 500; ++n) {
    const Depth d = RandomDepth(random);
    const StressPolygon p = *BuildStressPolygon(d.sv, d.pp, d.mu).polygon;
    const double phi = std::atan(d.mu) * 180.0 / M_PI;
    const double tolerance = 1e-12 * p.ratio * d.sv;
    for (const AndersonRegime limit : kLimits) {
      SCOPED_TRACE(::testing::Message() << n << " limit " << static_cast<int>(limit));
      // On the code's limits this time.
      const double u = unit(random);
      PolygonPoint q;
      if (limit == AndersonRegime::kNormal) {
        q = {p.shMinLowest, p.shMinLowest + u * (d.sv - p.shMinLowest)};
      } else if (limit == AndersonRegime::kStrikeSlip) {
        q.shMin = p.shMinLowest + u * (d.sv - p.shMinLowest);
        q.shMax = d.pp + p.ratio * (q.shMin - d.pp);
      } else {
        q = {d.sv + u * (p.shMaxHighest - d.sv), p.shMaxHighest};
      }
      const stress::StressState s = HorizontalTensor(d.sv, q.shMax, q.shMin, d.azimuth);
      const stress::PrincipalValues values = stress::ComputePrincipalValues(s);
      const stress::PrincipalAxes axes = stress::ComputePrincipalAxes(s, values);
      stress::PrincipalAxes lower;
      for (int i = 0; i < 3; ++i)
        lower[i] = stress::AxisOrientation(axes[i], stress::Azimuth::kClockwiseFromNorth).lower;
      const auto assess = [&](const stress::JointPlane& joint) {
        return AssessEffective(values, stress::ComputeJointStresses(values, lower, joint), joint,
                               d.pp);
      };
      const EffectiveJoint best = assess(BestPlane(limit, d.azimuth, phi));
      ASSERT_TRUE(best.porePressureToSlip.has_value());
      ASSERT_NEAR(*best.porePressureToSlip, 0.0, tolerance);
      ASSERT_NEAR(*best.coulombFailure, 0.0, tolerance);
      for (int k = 0; k < 50; ++k) {
        const stress::JointPlane other{360.0 * angle(random),
                                       std::acos(angle(random)) * 180.0 / M_PI, phi, 0.0};
        ASSERT_GT(*assess(other).porePressureToSlip, -tolerance);
      }
    }
  }
}

}  // namespace
}  // namespace analysis
