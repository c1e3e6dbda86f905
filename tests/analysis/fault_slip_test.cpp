// Fault-slip data: every notation of one datum gives the same plane and
// slip, worked by hand and over random data; auxiliary planes and P and T
// axes against worked and catalogued mechanisms; refusals say why.

#include "analysis/fault_slip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "analysis/stress_builders.h"
#include "test_names.h"

namespace analysis {
namespace {

using test_names::RowName;

double Dot(const stress::Vector3& a, const stress::Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

void ExpectSameDatum(const FaultSlip& a, const FaultSlip& b, double tolerance) {
  const double turn = std::remainder(a.dipDirection - b.dipDirection, 360.0);
  EXPECT_NEAR(turn, 0.0, tolerance * 1e4);
  EXPECT_NEAR(a.dip, b.dip, tolerance * 1e4);
  EXPECT_NEAR(a.slip.x, b.slip.x, tolerance);
  EXPECT_NEAR(a.slip.y, b.slip.y, tolerance);
  EXPECT_NEAR(a.slip.z, b.slip.z, tolerance);
}

// ---------------------------------------------------------------------------
// One datum in every notation, its slip worked by hand:
// u = cos(rake) (sin s, cos s, 0) + sin(rake) (-sin d cos p, -cos d cos p, sin p),
// s the strike, d = s + 90 the dip direction, p the dip; the striae as the
// downward line +-u.

struct NotationCase {
  const char* name;
  double strike, dip, rake;
  double dipDirection;
  double trend, plunge;
  const char* sense;
  const char* quadrantStrike;
  const char* quadrantDip;
  const char* quadrantRake;
  stress::Vector3 slip;
};

const NotationCase kNotationCases[] = {
    {"normal dip slip", 0, 60, -90, 90, 90, 60, "N", "000", "60E", "90N", {0.5, 0, -0.866025}},
    {"reverse oblique from a bearing",
     45,
     30,
     120,
     135,
     101.309932,
     25.658906,
     "R",
     "N45E",
     "30SE",
     "60NE",
     {-0.883883, 0.176777, 0.433013}},
    {"dextral, reverse component",
     300,
     80,
     170,
     30,
     301.753783,
     9.846552,
     "dextral",
     "300",
     "80 NE",
     "10W",
     {0.837792, -0.518518, 0.171010}},
    {"sinistral normal, rake over 180",
     200,
     45,
     330,
     290,
     222.207654,
     20.704811,
     "S",
     "S20W",
     "45W",
     "30SW",
     {-0.628430, -0.692875, -0.353553}},
    {"striae azimuth without letter",
     90,
     30,
     -90,
     180,
     180,
     30,
     "normal",
     "090",
     "30S",
     "180",
     {0, -0.866025, -0.5}},
};

class NotationTest : public ::testing::TestWithParam<NotationCase> {};

TEST_P(NotationTest, EveryNotationGivesTheWorkedSlip) {
  const NotationCase& c = GetParam();
  const std::optional<SlipSense> sense = ReadSlipSense(c.sense);
  ASSERT_TRUE(sense);
  const FaultSlipOutcome outcomes[] = {
      FaultFromStrikeDipRake(c.strike, c.dip, c.rake),
      FaultFromDipDirectionDipRake(c.dipDirection, c.dip, c.rake),
      FaultFromStriae(c.dipDirection, c.dip, c.trend, c.plunge, *sense),
      FaultFromQuadrant(c.quadrantStrike, c.quadrantDip, c.quadrantRake, *sense),
  };
  for (const FaultSlipOutcome& outcome : outcomes) {
    ASSERT_TRUE(outcome.fault) << outcome.problem;
    const FaultSlip& f = *outcome.fault;
    EXPECT_NEAR(f.dipDirection, c.dipDirection, 1e-9);
    EXPECT_NEAR(f.dip, c.dip, 1e-9);
    // The worked slips are rounded to 6 decimals.
    EXPECT_NEAR(f.slip.x, c.slip.x, 1e-6);
    EXPECT_NEAR(f.slip.y, c.slip.y, 1e-6);
    EXPECT_NEAR(f.slip.z, c.slip.z, 1e-6);
    EXPECT_TRUE(FaultSlipProblem(f).empty());
    // The rake comes back in (-180, 180].
    EXPECT_NEAR(RakeOf(f), std::remainder(c.rake, 360.0), 1e-4);
  }
  // The trend and plunge were rounded to 6 decimals: the residual is below 1e-5 degrees.
  EXPECT_LT(*outcomes[2].fault->striaeResidual, 1e-5);
  EXPECT_FALSE(outcomes[0].fault->striaeResidual);
}

INSTANTIATE_TEST_SUITE_P(Table, NotationTest, ::testing::ValuesIn(kNotationCases), RowName());

// ---------------------------------------------------------------------------
// The same over random data: the texts a field notebook would hold, written
// with 9 decimals, read back to the datum within 1e-8.

/// The 8-point compass quadrant nearest `azimuth`.
const char* Quadrant(double azimuth) {
  static const char* const kNames[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
  return kNames[static_cast<int>(std::lround(std::fmod(azimuth + 360.0, 360.0) / 45.0)) % 8];
}

std::string Fixed(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.9f", value);
  return text;
}

TEST(FaultSlip, NotationsAgreeOnRandomData) {
  std::mt19937_64 random(31);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 2000; ++trial) {
    SCOPED_TRACE(trial);
    const double dipDirection = 360.0 * unit(random);
    const double dip = 1.0 + 88.0 * unit(random);
    const double rake = -180.0 + 360.0 * unit(random);
    const FaultSlip f = *FaultFromDipDirectionDipRake(dipDirection, dip, rake).fault;
    ExpectSameDatum(*FaultFromStrikeDipRake(dipDirection - 90.0, dip, rake).fault, f, 1e-12);
    // The rake in 0 to 360.
    const FaultSlipOutcome positive =
        FaultFromDipDirectionDipRake(dipDirection, dip, rake < 0 ? rake + 360.0 : rake);
    ASSERT_TRUE(positive.fault) << positive.problem;
    ExpectSameDatum(*positive.fault, f, 1e-12);
    EXPECT_NEAR(std::remainder(RakeOf(f) - rake, 360.0), 0.0, 1e-9);

    // The sense a geologist would write: the dip-slip one where the slip has
    // a dip component, else the strike-slip one.
    const double up = std::sin(rake * M_PI / 180.0);
    const SlipSense sense = std::fabs(up) > 0.05
                                ? (up > 0 ? SlipSense::kReverse : SlipSense::kNormal)
                            : std::cos(rake * M_PI / 180.0) > 0 ? SlipSense::kSinistral
                                                                : SlipSense::kDextral;
    const double sign = f.slip.z > 0 ? -1.0 : 1.0;  // the line taken downward
    const stress::Vector3 line{sign * f.slip.x, sign * f.slip.y, sign * f.slip.z};
    const double trend = std::atan2(line.x, line.y) * 180.0 / M_PI;
    const double plunge = std::asin(std::min(1.0, -line.z)) * 180.0 / M_PI;
    const FaultSlipOutcome striae = FaultFromStriae(dipDirection, dip, trend, plunge, sense);
    ASSERT_TRUE(striae.fault) << striae.problem;
    ExpectSameDatum(*striae.fault, f, 1e-12);

    // The pitch from the end of the strike line that the line leans towards.
    const PlaneFrame frame = PlaneFrameOf(dipDirection, dip);
    const double along = Dot(line, frame.strike);
    const double end = dipDirection + (along >= 0 ? -90.0 : 90.0);
    const double pitch = std::acos(std::min(1.0, std::fabs(along))) * 180.0 / M_PI;
    const FaultSlipOutcome quadrant =
        FaultFromQuadrant(Fixed(dipDirection - 90.0 + 360.0), Fixed(dip) + Quadrant(dipDirection),
                          Fixed(pitch) + Quadrant(end), sense);
    ASSERT_TRUE(quadrant.fault) << quadrant.problem;
    ExpectSameDatum(*quadrant.fault, f, 1e-8);
    // The same line by its azimuth.
    const FaultSlipOutcome azimuth = FaultFromQuadrant(
        Fixed(dipDirection - 90.0), Fixed(dip) + Quadrant(dipDirection), Fixed(trend), sense);
    ASSERT_TRUE(azimuth.fault) << azimuth.problem;
    ExpectSameDatum(*azimuth.fault, f, 1e-7);
  }
}

// ---------------------------------------------------------------------------
// Auxiliary planes: worked by hand (dip-slip and strike-slip), and the two
// nodal planes of great earthquakes as the Global CMT catalogue lists them,
// whose whole-degree rounding allows 1 degree.

struct AuxiliaryCase {
  const char* name;
  double strike, dip, rake;
  double auxStrike, auxDip, auxRake;
  double tolerance;
};

const AuxiliaryCase kAuxiliaryCases[] = {
    {"thrust dipping east", 0, 45, 90, 180, 45, 90, 1e-9},
    {"normal fault dipping 60 east", 0, 60, -90, 180, 30, -90, 1e-9},
    {"vertical sinistral north-south", 0, 90, 0, 270, 90, 180, 1e-9},
    {"Tohoku 2011", 203, 10, 88, 25, 80, 90, 1.0},
    {"Sumatra-Andaman 2004", 329, 8, 110, 129, 83, 87, 1.0},
};

class AuxiliaryTest : public ::testing::TestWithParam<AuxiliaryCase> {};

TEST_P(AuxiliaryTest, MatchesTheOtherNodalPlane) {
  const AuxiliaryCase& c = GetParam();
  const FaultSlip f = *FaultFromStrikeDipRake(c.strike, c.dip, c.rake).fault;
  const FaultSlip a = AuxiliaryPlane(f);
  EXPECT_NEAR(std::remainder(a.dipDirection - 90.0 - c.auxStrike, 360.0), 0.0, c.tolerance);
  EXPECT_NEAR(a.dip, c.auxDip, c.tolerance);
  EXPECT_NEAR(std::remainder(RakeOf(a) - c.auxRake, 360.0), 0.0, c.tolerance);
  ExpectSameDatum(AuxiliaryPlane(a), f, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Table, AuxiliaryTest, ::testing::ValuesIn(kAuxiliaryCases), RowName());

TEST(FaultSlip, AuxiliaryOfAuxiliaryIsTheMechanism) {
  std::mt19937_64 random(33);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 2000; ++trial) {
    SCOPED_TRACE(trial);
    const FaultSlip f = *FaultFromDipDirectionDipRake(360.0 * unit(random), 90.0 * unit(random),
                                                      -180.0 + 360.0 * unit(random))
                             .fault;
    const FaultSlip a = AuxiliaryPlane(f);
    EXPECT_TRUE(FaultSlipProblem(a).empty()) << FaultSlipProblem(a);
    // The planes are at right angles, each normal the other's slip line.
    EXPECT_NEAR(Dot(NormalOf(a), NormalOf(f)), 0.0, 1e-12);
    EXPECT_NEAR(std::fabs(Dot(NormalOf(a), f.slip)), 1.0, 1e-12);
    ExpectSameDatum(AuxiliaryPlane(a), f, 1e-12);
    const MechanismAxes fromFault = PressureTensionAxes(f);
    const MechanismAxes fromAuxiliary = PressureTensionAxes(a);
    EXPECT_LT(AngleBetweenAxes(fromFault.p.vector, fromAuxiliary.p.vector), 1e-9);
    EXPECT_LT(AngleBetweenAxes(fromFault.t.vector, fromAuxiliary.t.vector), 1e-9);
    EXPECT_NEAR(AngleBetweenAxes(fromFault.p.vector, fromFault.t.vector), 90.0, 1e-9);
    EXPECT_NEAR(AngleBetweenAxes(fromFault.p.vector, NormalOf(f)), 45.0, 1e-9);
  }
}

// P and T worked by hand: a thrust has T vertical and P across the strike;
// a normal fault dipping 60 east has P 45 degrees from the plane, plunging
// 75 west, and T 15 east; a vertical sinistral fault striking north has P
// horizontal to the south-east and T to the north-east.
TEST(FaultSlip, PressureAndTensionAxesOfWorkedMechanisms) {
  const MechanismAxes thrust = PressureTensionAxes(*FaultFromStrikeDipRake(0, 45, 90).fault);
  EXPECT_NEAR(thrust.t.dip, 90.0, 1e-9);
  EXPECT_NEAR(thrust.p.dip, 0.0, 1e-9);
  EXPECT_NEAR(std::remainder(thrust.p.azimuth - 90.0, 180.0), 0.0, 1e-9);
  const MechanismAxes normal = PressureTensionAxes(*FaultFromStrikeDipRake(0, 60, -90).fault);
  EXPECT_NEAR(normal.p.azimuth, 270.0, 1e-9);
  EXPECT_NEAR(normal.p.dip, 75.0, 1e-9);
  EXPECT_NEAR(normal.t.azimuth, 90.0, 1e-9);
  EXPECT_NEAR(normal.t.dip, 15.0, 1e-9);
  const MechanismAxes sinistral = PressureTensionAxes(*FaultFromStrikeDipRake(0, 90, 0).fault);
  EXPECT_NEAR(std::remainder(sinistral.p.azimuth - 135.0, 180.0), 0.0, 1e-9);
  EXPECT_NEAR(std::remainder(sinistral.t.azimuth - 45.0, 180.0), 0.0, 1e-9);
  EXPECT_NEAR(sinistral.p.dip, 0.0, 1e-9);
}

// ---------------------------------------------------------------------------
// Senses and refusals.

struct SenseCase {
  const char* text;
  std::optional<SlipSense> sense;
};
const SenseCase kSenseCases[] = {
    {"N", SlipSense::kNormal},
    {" normal ", SlipSense::kNormal},
    {"R", SlipSense::kReverse},
    {"i", SlipSense::kReverse},
    {"Inverse", SlipSense::kReverse},
    {"THRUST", SlipSense::kReverse},
    {"D", SlipSense::kDextral},
    {"right-lateral", SlipSense::kDextral},
    {"s", SlipSense::kSinistral},
    {"Sinistral", SlipSense::kSinistral},
    {"", std::nullopt},
    {"NR", std::nullopt},
    {"up", std::nullopt},
};
TEST(FaultSlip, ReadsSenses) {
  for (const SenseCase& c : kSenseCases)
    EXPECT_EQ(ReadSlipSense(c.text), c.sense) << "'" << c.text << "'";
}

struct RefusalCase {
  const char* name;
  FaultSlipOutcome outcome;
  const char* problem;
};

const RefusalCase kRefusalCases[] = {
    {"dip over 90", FaultFromStrikeDipRake(10, 95, 0), "dip 95 is outside 0 to 90"},
    {"rake over 360", FaultFromDipDirectionDipRake(10, 45, 400), "rake 400 is outside -180 to 360"},
    {"strike not finite", FaultFromStrikeDipRake(NAN, 45, 0), "strike is not a finite number"},
    {"striae 15 degrees off", FaultFromStriae(90, 60, 90, 75, SlipSense::kNormal),
     "the striae lie 15.0\u00b0 off the plane; at most 10\u00b0 is accepted"},
    {"normal sense on strike-parallel striae", FaultFromStriae(90, 60, 0, 0, SlipSense::kNormal),
     "the striae lie along the strike: a normal or reverse sense cannot orient them"},
    {"dextral sense on dip-parallel striae", FaultFromStriae(90, 60, 90, 60, SlipSense::kDextral),
     "the striae lie down the dip: a dextral or sinistral sense cannot orient them"},
    {"dip quadrant along the strike", FaultFromQuadrant("045", "60NE", "30N", SlipSense::kNormal),
     "dip quadrant NE lies along the strike 045"},
    {"rake end across the strike", FaultFromQuadrant("000", "60E", "30E", SlipSense::kNormal),
     "rake end E lies across the strike 000"},
    {"pitch over 90", FaultFromQuadrant("000", "60E", "95N", SlipSense::kNormal),
     "pitch 95 is outside 0 to 90"},
    {"strike text", FaultFromQuadrant("NE", "60E", "30N", SlipSense::kNormal),
     "strike 'NE' is not an azimuth or a bearing"},
    {"dip letters", FaultFromQuadrant("000", "60X", "30N", SlipSense::kNormal),
     "dip '60X' is not a dip with its quadrant (61S)"},
    {"striae azimuth across a vertical plane",
     FaultFromQuadrant("000", "90E", "45", SlipSense::kNormal),
     "striae azimuth 45 is not the strike of the vertical plane"},
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};
TEST_P(RefusalTest, SaysWhy) {
  const RefusalCase& c = GetParam();
  EXPECT_FALSE(c.outcome.fault);
  EXPECT_EQ(c.outcome.problem, c.problem);
}
INSTANTIATE_TEST_SUITE_P(Table, RefusalTest, ::testing::ValuesIn(kRefusalCases), RowName());

}  // namespace
}  // namespace analysis
