// The equal-area net: radius, primitive circle, great-circle traces and poles.

#include "projection/equal_area.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <random>
#include <string>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"
#include "test_names.h"

namespace projection {
namespace {

using test_names::RowName;

constexpr double kTwoTo63 = 9223372036854775808.0;

/// Degrees as the window turns them into radians.
double Rad(double degrees) {
  return static_cast<double>(numeric::DegreesToRadians(degrees));
}

double Radius(const NetPoint& p) {
  return std::hypot(p.x, p.y);
}

/// Azimuth of a net point, clockwise from North, in degrees [0, 360).
double AzimuthDegrees(const NetPoint& p) {
  const double a = std::atan2(p.x, p.y) * 180.0 / M_PI;
  return a < 0.0 ? a + 360.0 : a;
}

/// Difference of two azimuths in degrees, folded into [-180, 180).
double AzimuthGap(double a, double b) {
  const double d = std::fmod(a - b, 360.0);
  return d >= 180.0 ? d - 360.0 : (d < -180.0 ? d + 360.0 : d);
}

/// The unit line (East, North, up) that a net point stands for: the radius
/// r = sqrt(1 - sin p) gives sin p = 1 - r^2 and cos p = r * sqrt(2 - r^2),
/// so the line is (x sqrt(2 - r^2), y sqrt(2 - r^2), r^2 - 1), pointing down.
struct Line {
  long double x, y, z;
};
Line LineOf(const NetPoint& p) {
  const long double r2 = static_cast<long double>(p.x) * p.x + static_cast<long double>(p.y) * p.y;
  const long double h = std::sqrt(2.0L - r2);
  return {p.x * h, p.y * h, r2 - 1.0L};
}

/// A plane plotted into fresh series.
struct Plot {
  PointList trace;
  PointList poles{PointOrder::AscendingX};
  Plot(double betaDegrees, double psiDegrees, Colour colour = kBlack, const char* label = "joint") {
    PlotPlane(trace, poles, colour, Rad(betaDegrees), Rad(psiDegrees), label);
  }
  const NetPoint& At(int k) const { return trace.Points().at(static_cast<std::size_t>(k)); }
  const NetPoint& Pole() const { return poles.Points().at(0); }
};

// ---------------------------------------------------------------------------
// Equal-area radius

struct RadiusCase {
  const char* name;
  double v;
  double radius;
  double tolerance;
};
void PrintTo(const RadiusCase& c, std::ostream* os) {
  *os << c.name;
}

// Worked values: D and L are given to 7 digits, so their radii agree to ~1e-7,
// except near the rim, where dr/dD = 1 / (4 r sin p) is 25 at p = 0.577 deg
// and D's rounding of 5e-8 allows 1.3e-6.
const RadiusCase kRadiusCases[] = {
    {"horizontal line on the rim", 1.0, 1.0, 0.0},
    {"vertical line at the centre", 0.0, 0.0, 0.0},
    {"above 1 is taken as 1", 1.5, 1.0, 0.0},
    {"plunge 0.577 deg", 0.9998985, 0.9949494, 1.5e-6},
    {"plunge 22.21 deg", 0.8571429, 0.7886923, 2e-7},
    {"plunge 30 deg", 0.75, 0.7071068, 1e-7},
    {"pole of a 30 deg dip", 0.25, 0.3660254, 1e-7},
};

class EqualAreaRadiusTest : public ::testing::TestWithParam<RadiusCase> {};
TEST_P(EqualAreaRadiusTest, MatchesTable) {
  const RadiusCase& c = GetParam();
  EXPECT_NEAR(EqualAreaRadius(c.v), c.radius, c.tolerance);
}
INSTANTIATE_TEST_SUITE_P(Table, EqualAreaRadiusTest, ::testing::ValuesIn(kRadiusCases), RowName());

TEST(EqualAreaRadius, IsTheLambertRadiusOfThePlunge) {
  // r = sqrt(1 - sin p) = sqrt(2) sin(45 deg - p/2) for every plunge; the
  // squared cosine of p is rounded to double, which moves sin p by at most
  // 1e-16 / (2 sin p), below 1e-13 from p = 0.1 deg on.
  for (double p = 0.1; p <= 90.0; p += 0.1) {
    const long double rad = numeric::DegreesToRadians(p);
    const double v = static_cast<double>(std::cos(rad) * std::cos(rad));
    const double expected =
        static_cast<double>(std::sqrt(2.0L) * std::sin(numeric::kPi / 4 - rad / 2));
    EXPECT_NEAR(EqualAreaRadius(v), expected, 1e-13) << "plunge " << p;
  }
}

TEST(EqualAreaRadius, NoSquaredCosineIsAnInvalidOperation) {
  for (double v : {-0.5, -1e-300, std::nan("")}) {
    try {
      EqualAreaRadius(v);
      ADD_FAILURE() << "no error for " << v;
    } catch (const numeric::FloatingPointError& e) {
      EXPECT_STREQ(e.what(), "Invalid floating point operation") << v;
    }
  }
}

// ---------------------------------------------------------------------------
// Primitive circle

TEST(PrimitiveCircle, NinetyOnePointsFromEastRoundToAHairShortOfAFullTurn) {
  PointList circle;
  AddPrimitiveCircle(circle);
  ASSERT_EQ(circle.Points().size(), 91u);
  EXPECT_DOUBLE_EQ(circle.Points().front().x, 1.0);
  EXPECT_DOUBLE_EQ(circle.Points().front().y, 0.0);
  // 90 * 0.06981317 = 6.2831853, 7.18e-9 rad below 2 pi.
  const NetPoint& last = circle.Points().back();
  EXPECT_NEAR(std::atan2(last.y, last.x), -7.1795864e-9, 1e-15);
  double previous = -1.0;
  for (const NetPoint& p : circle.Points()) {
    EXPECT_NEAR(Radius(p), 1.0, 1e-15);
    EXPECT_EQ(p.label, "");
    EXPECT_EQ(p.colour, kBlack);
    // Counter-clockwise in steps of 0.06981317 rad.
    const double angle = std::atan2(p.y, p.x);
    const double polar = angle < 0.0 ? angle + 2 * M_PI : angle;
    if (previous >= 0.0) {
      EXPECT_NEAR(polar - previous, 0.06981317, 1e-12);
    }
    previous = polar;
  }
}

TEST(PrimitiveCircle, AppendsWithoutClearing) {
  PointList circle;
  circle.AddPoint(0.5, 0.5, "kept", kRed);
  AddPrimitiveCircle(circle);
  AddPrimitiveCircle(circle);
  ASSERT_EQ(circle.Points().size(), 183u);
  EXPECT_EQ(circle.Points()[0].label, "kept");
}

// ---------------------------------------------------------------------------
// Worked example: a plane dipping 30 deg towards azimuth 60 deg.

struct TraceRow {
  const char* name;
  int k;
  double x, y;
};
void PrintTo(const TraceRow& c, std::ostream* os) {
  *os << c.name;
}

const TraceRow kWorkedRows[] = {
    {"k0 strike at 330", 0, -0.5, 0.8660254}, {"k1", 1, -0.4823611, 0.8702024},
    {"k45", 45, 0.2041286, 0.7618183},        {"k90 dip direction", 90, 0.6123724, 0.3535534},
    {"k135", 135, 0.7618183, -0.2041286},     {"k180 strike at 150", 180, 0.5, -0.8660254},
};

class WorkedExampleTest : public ::testing::TestWithParam<TraceRow> {};
TEST_P(WorkedExampleTest, TracePointMatchesTable) {
  const TraceRow& row = GetParam();
  const Plot plot(60.0, 30.0);
  EXPECT_NEAR(plot.At(row.k).x, row.x, 1e-7);
  EXPECT_NEAR(plot.At(row.k).y, row.y, 1e-7);
}
INSTANTIATE_TEST_SUITE_P(Table, WorkedExampleTest, ::testing::ValuesIn(kWorkedRows), RowName());

TEST(WorkedExample, PoleIsTheDownwardNormalLabelledInThePlanesColour) {
  const Plot plot(60.0, 30.0, kBlack, "joint");
  ASSERT_EQ(plot.poles.Points().size(), 1u);
  EXPECT_NEAR(plot.Pole().x, -0.3169873, 1e-7);
  EXPECT_NEAR(plot.Pole().y, -0.1830127, 1e-7);
  EXPECT_EQ(plot.Pole().label, "joint");
  EXPECT_EQ(plot.Pole().colour, kBlack);
}

TEST(WorkedExample, PrincipalPlaneHasItsPoleOnTheDownwardAxis) {
  // Axis plunging 60 deg towards azimuth 60 deg: plane dip direction -120 deg
  // (east angle 30 deg: (pi/2 - theta) - pi), dip 30 deg.
  const Plot plot(-120.0, 30.0, kGreen, "s1");
  EXPECT_NEAR(plot.Pole().x, 0.3169873, 1e-7);
  EXPECT_NEAR(plot.Pole().y, 0.1830127, 1e-7);
  EXPECT_EQ(plot.Pole().colour, kGreen);
  EXPECT_EQ(plot.Pole().label, "s1");
  // The trace runs from polar angle 300 deg down to 120 deg.
  EXPECT_NEAR(plot.At(0).x, 0.5, 1e-15);
  EXPECT_NEAR(plot.At(0).y, -0.8660254037844386, 1e-15);
  EXPECT_NEAR(plot.At(180).x, -0.5, 1e-15);
  EXPECT_NEAR(plot.At(180).y, 0.8660254037844386, 1e-15);
}

// ---------------------------------------------------------------------------
// Planes of ordinary dip: the shape every trace must have.

struct PlaneCase {
  const char* name;
  double beta;  // degrees
  double psi;   // degrees, in [0, 90)
};
void PrintTo(const PlaneCase& c, std::ostream* os) {
  *os << c.name;
}

const PlaneCase kPlanes[] = {
    {"worked example", 60.0, 30.0},           {"default joint", 16.0, 33.0},
    {"gentle to the north", 0.0, 5.0},        {"steep to the west", 270.0, 85.0},
    {"negative dip direction", -120.0, 30.0}, {"dip direction past a turn", 400.0, 45.0},
    {"nearly vertical", 123.0, 89.99},        {"nearly flat", 200.0, 0.01},
};

class PlaneShapeTest : public ::testing::TestWithParam<PlaneCase> {};

TEST_P(PlaneShapeTest, EndsOnTheRimAtTheStrikes) {
  const PlaneCase& c = GetParam();
  const Plot plot(c.beta, c.psi, kRed, "s2");
  ASSERT_EQ(plot.trace.Points().size(), 181u);
  EXPECT_NEAR(Radius(plot.At(0)), 1.0, 1e-15);
  EXPECT_NEAR(Radius(plot.At(180)), 1.0, 1e-15);
  EXPECT_NEAR(AzimuthGap(AzimuthDegrees(plot.At(0)), c.beta - 90.0), 0.0, 1e-12);
  EXPECT_NEAR(AzimuthGap(AzimuthDegrees(plot.At(180)), c.beta + 90.0), 0.0, 1e-12);
}

TEST_P(PlaneShapeTest, MiddlePointLiesInTheDipDirectionAtTheDipsRadius) {
  const PlaneCase& c = GetParam();
  const Plot plot(c.beta, c.psi);
  const long double psi = numeric::DegreesToRadians(c.psi);
  EXPECT_NEAR(Radius(plot.At(90)), static_cast<double>(std::sqrt(1.0L - std::sin(psi))), 1e-12);
  EXPECT_NEAR(AzimuthGap(AzimuthDegrees(plot.At(90)), c.beta), 0.0, 1e-9);
}

TEST_P(PlaneShapeTest, AzimuthRisesOneDegreePerPoint) {
  const PlaneCase& c = GetParam();
  const Plot plot(c.beta, c.psi);
  for (int k = 1; k <= 180; ++k) {
    if (Radius(plot.At(k)) < 1e-6)
      continue;  // no azimuth to speak of at the centre
    EXPECT_NEAR(AzimuthGap(AzimuthDegrees(plot.At(k)), c.beta - 90.0 + k), 0.0, 1e-9) << k;
  }
}

TEST_P(PlaneShapeTest, PoleLiesOppositeTheDipDirection) {
  const PlaneCase& c = GetParam();
  const Plot plot(c.beta, c.psi);
  const long double psi = numeric::DegreesToRadians(c.psi);
  EXPECT_NEAR(Radius(plot.Pole()), static_cast<double>(std::sqrt(1.0L - std::cos(psi))), 1e-12);
  if (c.psi > 0.1) {
    EXPECT_NEAR(AzimuthGap(AzimuthDegrees(plot.Pole()), c.beta + 180.0), 0.0, 1e-9);
  }
}

TEST_P(PlaneShapeTest, EveryPointCarriesThePlanesColourAndNoLabel) {
  const PlaneCase& c = GetParam();
  const Plot plot(c.beta, c.psi, kBlue, "s3");
  for (const NetPoint& p : plot.trace.Points()) {
    EXPECT_EQ(p.colour, kBlue);
    EXPECT_EQ(p.label, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Table, PlaneShapeTest, ::testing::ValuesIn(kPlanes), RowName());

// ---------------------------------------------------------------------------
// Horizontal and vertical planes

TEST(HorizontalPlane, TracesTheHalfCircleAroundTheDipDirectionWithThePoleAtTheCentre) {
  const double beta = 40.0;
  const Plot plot(beta, 0.0);
  for (int k = 0; k <= 180; ++k) {
    EXPECT_NEAR(Radius(plot.At(k)), 1.0, 1e-15) << k;
    EXPECT_NEAR(AzimuthGap(AzimuthDegrees(plot.At(k)), beta - 90.0 + k), 0.0, 1e-12) << k;
  }
  EXPECT_DOUBLE_EQ(plot.Pole().x, 0.0);
  EXPECT_DOUBLE_EQ(plot.Pole().y, 0.0);
}

class VerticalPlaneTest : public ::testing::TestWithParam<PlaneCase> {};

TEST_P(VerticalPlaneTest, RunsThroughTheCentreWithThePoleJustInsideTheRim) {
  const PlaneCase& c = GetParam();
  const Plot plot(c.beta, c.psi);
  EXPECT_NEAR(Radius(plot.At(0)), 1.0, 1e-15);
  EXPECT_NEAR(Radius(plot.At(180)), 1.0, 1e-15);
  // One degree off the strike, tan p = 1e5 sin 1 deg: r = 4.05e-4 at most.
  double widest = 0.0;
  for (int k = 1; k < 180; ++k)
    widest = std::max(widest, Radius(plot.At(k)));
  EXPECT_NEAR(widest, 4.0508e-4, 1e-7);
  // |cos dip| is replaced by 1e-5: radius sqrt(1 - 1e-5). L = 1 - 1e-10 is
  // handed over as a double, so 1 - L keeps only 6 digits: 1e-11 is its share.
  EXPECT_NEAR(Radius(plot.Pole()), 0.99999499998750, 1e-11);
  EXPECT_NEAR(AzimuthGap(AzimuthDegrees(plot.Pole()), c.beta + 180.0), 0.0, 1e-9);
}

const PlaneCase kVerticalPlanes[] = {
    {"dip 90", 30.0, 90.0},
    {"dip a hair below 90", 30.0, 89.9999},
    {"dip -90", 30.0, -90.0},
    {"dip 270", 30.0, 270.0},
};
INSTANTIATE_TEST_SUITE_P(Table, VerticalPlaneTest, ::testing::ValuesIn(kVerticalPlanes), RowName());

// ---------------------------------------------------------------------------
// Angles that describe the same plane draw the same points.

struct SamePlaneCase {
  const char* name;
  double betaA, psiA, betaB, psiB;
};
void PrintTo(const SamePlaneCase& c, std::ostream* os) {
  *os << c.name;
}

const SamePlaneCase kSamePlanes[] = {
    {"negative dip", 60.0, 30.0, 60.0, -30.0},
    {"dip beyond 90", 60.0, 30.0, 60.0, 150.0},
    {"steep dip beyond 90", 200.0, 80.0, 200.0, 100.0},
    {"dip direction plus a turn", 60.0, 30.0, 420.0, 30.0},
    {"negative dip direction", -120.0, 30.0, 240.0, 30.0},
    {"ten turns", 16.0, 33.0, 3616.0, 33.0},
};

class SamePlaneTest : public ::testing::TestWithParam<SamePlaneCase> {};
TEST_P(SamePlaneTest, GivesTheSamePointsToRounding) {
  const SamePlaneCase& c = GetParam();
  const Plot a(c.betaA, c.psiA);
  const Plot b(c.betaB, c.psiB);
  for (int k = 0; k <= 180; ++k) {
    EXPECT_NEAR(a.At(k).x, b.At(k).x, 1e-12) << k;
    EXPECT_NEAR(a.At(k).y, b.At(k).y, 1e-12) << k;
  }
  EXPECT_NEAR(a.Pole().x, b.Pole().x, 1e-12);
  EXPECT_NEAR(a.Pole().y, b.Pole().y, 1e-12);
}
INSTANTIATE_TEST_SUITE_P(Table, SamePlaneTest, ::testing::ValuesIn(kSamePlanes), RowName());

// ---------------------------------------------------------------------------
// Series effects

TEST(PlotPlane, ReplacesTheTraceAndAppendsOnePolePerCall) {
  PointList trace;
  PointList poles(PointOrder::AscendingX);
  trace.AddPoint(9.0, 9.0, "stale", kRed);
  PlotPlane(trace, poles, kGreen, Rad(60.0), Rad(30.0), "s1");
  PlotPlane(trace, poles, kGreen, Rad(-120.0), Rad(30.0), "s1");
  ASSERT_EQ(trace.Points().size(), 181u);
  EXPECT_NEAR(trace.Points()[0].x, 0.5, 1e-15);  // the second plane's trace
  ASSERT_EQ(poles.Points().size(), 2u);
  // Sorted by x in the pole series: the worked example's pole has x < 0.
  EXPECT_NEAR(poles.Points()[0].x, -0.3169873, 1e-7);
  EXPECT_NEAR(poles.Points()[1].x, 0.3169873, 1e-7);
}

struct HugeAngleCase {
  const char* name;
  double beta;  // radians
  double psi;   // radians
  double traceRadius;
  double poleRadius;
};
void PrintTo(const HugeAngleCase& c, std::ostream* os) {
  *os << c.name;
}

// Sine and cosine of 2^63 rad or more are 0. A dip that large gives the
// normal (0, 0, 0), which the vertical guard turns into (0, 0, 1e-5): every D
// is 1, the trace lies on the rim and the pole at sqrt(1 - 1e-5). A dip
// direction that large puts every polar angle of the trace beyond the limit,
// so every trace point is (0, 0); the pole's polar angle 3pi/2 - beta drops
// just below 2^63 for beta = 2^63 (radius sqrt(1 - cos 30 deg)) and stays
// beyond it for larger values (the centre).
const HugeAngleCase kHugeAngles[] = {
    {"dip direction 2^63", kTwoTo63, Rad(30.0), 0.0, 0.36602540378443865},
    {"dip direction -1e300", -1e300, Rad(30.0), 0.0, 0.0},
    {"dip 2^63", Rad(60.0), kTwoTo63, 1.0, 0.99999499998750},
    {"dip -1e300", Rad(60.0), -1e300, 1.0, 0.99999499998750},
    {"both 1e19", 1e19, 1e19, 0.0, 0.0},
};

class HugeAngleTest : public ::testing::TestWithParam<HugeAngleCase> {};
TEST_P(HugeAngleTest, UsesSineAndCosineZeroWithoutError) {
  const HugeAngleCase& c = GetParam();
  PointList trace;
  PointList poles;
  ASSERT_NO_THROW(PlotPlane(trace, poles, kBlack, c.beta, c.psi, "joint"));
  ASSERT_EQ(trace.Points().size(), 181u);
  for (const NetPoint& p : trace.Points())
    EXPECT_NEAR(Radius(p), c.traceRadius, 1e-15);
  ASSERT_EQ(poles.Points().size(), 1u);
  EXPECT_NEAR(Radius(poles.Points()[0]), c.poleRadius, 1e-11);
}
INSTANTIATE_TEST_SUITE_P(Table, HugeAngleTest, ::testing::ValuesIn(kHugeAngles), RowName());

TEST(PlotPlane, NotANumberIsAnInvalidOperationNotAPoint) {
  PointList trace;
  PointList poles;
  try {
    PlotPlane(trace, poles, kBlack, Rad(60.0), std::nan(""), "joint");
    ADD_FAILURE() << "a NaN dip was plotted";
  } catch (const numeric::FloatingPointError& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
  EXPECT_EQ(poles.Points().size(), 0u);
}

// ---------------------------------------------------------------------------
// Properties over many planes

TEST(EqualAreaProperty, TracesLieOnTheirPlanesAndPolesOnTheirNormals) {
  // The inverse map of LineOf recovers each point's line. A trace line must be
  // at right angles to the plane's normal, the pole line along the downward
  // normal, and nothing may leave the net. Error budget of |line . normal|:
  // the point's coordinates are rounded to double (1e-16), and so is D =
  // cos^2 p, which moves the recovered sin p by up to 1.1e-16 / (2 sin p);
  // that term dominates beside the strike of a gentle plane. Each point is
  // held to 1e-14 + 1.1e-16 / (2 sin p); a wrong point misses by 1e-2 or more.
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> betaDist(-720.0, 720.0);
  std::uniform_real_distribution<double> psiDist(-400.0, 400.0);
  double worstRadius = 0.0;
  long double worstOnPlane = 0.0L;  // as a fraction of each point's budget
  long double worstOnPlaneAbsolute = 0.0L;
  long double worstPole = 0.0L;
  int planes = 0;
  while (planes < 3000) {
    const double beta = betaDist(rng);
    const double psi = psiDist(rng);
    const long double b = numeric::DegreesToRadians(beta);
    const long double s = numeric::DegreesToRadians(psi);
    // Dips outside 0..90 deg fold onto the plane dipping towards beta with
    // |sin|, |cos| of the dip: that plane's upward normal.
    const long double nx = std::fabs(std::sin(s)) * std::sin(b);
    const long double ny = std::fabs(std::sin(s)) * std::cos(b);
    const long double nz = std::fabs(std::cos(s));
    if (std::fabs(nz) < 1e-4)
      continue;  // the vertical guard has its own tests
    ++planes;
    const Plot plot(beta, psi);
    for (const NetPoint& p : plot.trace.Points()) {
      worstRadius = std::max(worstRadius, Radius(p));
      const Line d = LineOf(p);
      const long double sinP = -d.z;
      const long double budget = 1e-14L + (sinP > 0 ? 1.1e-16L / (2 * sinP) : 0.0L);
      const long double offPlane = std::fabs(d.x * nx + d.y * ny + d.z * nz);
      worstOnPlane = std::max(worstOnPlane, offPlane / budget);
      worstOnPlaneAbsolute = std::max(worstOnPlaneAbsolute, offPlane);
    }
    const Line pole = LineOf(plot.Pole());
    // The pole line is the normal taken downward.
    worstPole = std::max(
        {worstPole, std::fabs(pole.x + nx), std::fabs(pole.y + ny), std::fabs(pole.z + nz)});
  }
  EXPECT_LE(worstRadius, 1.0 + 1e-12);
  EXPECT_LE(worstOnPlane, 1.0L);
  EXPECT_LE(worstPole, 1e-12L);
  std::cout << "planes " << planes << ": worst radius - 1 = " << worstRadius - 1.0
            << ", worst |line . normal| = " << static_cast<double>(worstOnPlaneAbsolute) << " ("
            << static_cast<double>(worstOnPlane) << " of its budget)"
            << ", worst pole offset = " << static_cast<double>(worstPole) << "\n";
}

}  // namespace
}  // namespace projection
