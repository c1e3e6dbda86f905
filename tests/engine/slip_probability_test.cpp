// Monte Carlo slip odds: without uncertainty they are the plane's own
// assessment; a uniform Pp error alone makes dPc uniform (a Kolmogorov-Smirnov
// check at a fixed seed) and P(slip) its exact share within 4 standard
// errors; the bits do not depend on how the planes are shared among threads.

#include "engine/slip_probability.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

#include "engine/pass.h"
#include "test_names.h"

namespace engine {
namespace {

PassResults Pass(double porePressure) {
  PassInputs inputs = PassInputs::Of({40, 30, 60, 3, -2, 4}, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = porePressure;
  return RunPass(inputs);
}

PlaneSet Planes() {
  PlaneSet set;
  for (int k = 0; k < 24; ++k) {
    set.planes.push_back(
        {15.0 * k, 5.0 + 3.5 * k, k % 5 == 0 ? 25.0 : NAN, k % 7 == 0 ? 0.5 : NAN});
    set.ids.push_back("");
  }
  return set;
}

const PlaneDefaults kDefaults{25.0, 0.5};

TEST(SlipOdds, WithoutUncertaintyAreThePlanesOwnAssessment) {
  const PassResults pass = Pass(26);
  UncertaintySettings settings;
  settings.realizations = 50;
  const SlipSampler sampler(pass, kDefaults, settings);
  const PlaneSet set = Planes();
  std::vector<SlipOdds> odds(set.size());
  AssessSlipOdds(sampler, set, 0, set.size(), odds.data());
  const PlaneAssessor assess(pass, kDefaults);
  int slipping = 0;
  for (std::size_t i = 0; i < set.size(); ++i) {
    const PlaneResult r = assess(set.planes[i]);
    SCOPED_TRACE(i);
    // Slipping is being at or past the Coulomb line, as the percentiles say.
    EXPECT_EQ(odds[i].pSlip, r.deltaPc <= 0.0 ? 1.0 : 0.0);
    EXPECT_EQ(odds[i].pOpen, r.sigmaEff < 0.0 ? 1.0 : 0.0);
    slipping += r.deltaPc <= 0.0;
    for (const double p : {odds[i].deltaPcP10, odds[i].deltaPcP50, odds[i].deltaPcP90})
      EXPECT_NEAR(p, r.deltaPc, 1e-9 * std::max(1.0, std::fabs(r.deltaPc)));
  }
  EXPECT_GT(slipping, 0);  // both outcomes occur among the planes
  EXPECT_LT(slipping, static_cast<int>(set.size()));
  EXPECT_EQ(sampler.Resorted(), 0u);
}

TEST(SlipOdds, UniformPorePressureMakesPressureToSlipUniform) {
  const PassResults pass = Pass(20);
  const Plane plane{60.0, 55.0};
  const double exact = PlaneAssessor(pass, kDefaults)(plane).deltaPc;
  const double h = 2.0 * std::fabs(exact) + 3.0;
  UncertaintySettings settings;
  settings.realizations = 20000;
  settings.seed = 2026;
  settings[Uncertain::kPorePressure] = {Spread::Shape::kUniform, h};
  const SlipSampler sampler(pass, kDefaults, settings);
  std::vector<double> values;
  sampler.PressuresToSlip(plane, 0, values);
  std::sort(values.begin(), values.end());
  // Kolmogorov-Smirnov distance to the uniform law on [exact - h, exact + h].
  double distance = 0.0;
  const double n = static_cast<double>(values.size());
  for (std::size_t k = 0; k < values.size(); ++k) {
    const double cdf = std::clamp((values[k] - (exact - h)) / (2.0 * h), 0.0, 1.0);
    distance = std::max({distance, std::fabs(cdf - k / n), std::fabs(cdf - (k + 1) / n)});
  }
  EXPECT_LT(distance, 1.36 / std::sqrt(n));  // the 5 % critical value
  // It slips when the pressure error exceeds dPc: with probability (h - dPc) / 2h.
  std::vector<double> scratch;
  const double p = (h - exact) / (2.0 * h);
  const SlipOdds odds = sampler.Odds(plane, 0, scratch);
  EXPECT_NEAR(odds.pSlip, p, 4.0 * std::sqrt(p * (1.0 - p) / n));
  // The uniform law's 10th, 50th and 90th percentiles, within 1 % of its width.
  EXPECT_NEAR(odds.deltaPcP10, exact - 0.8 * h, 0.02 * h);
  EXPECT_NEAR(odds.deltaPcP50, exact, 0.02 * h);
  EXPECT_NEAR(odds.deltaPcP90, exact + 0.8 * h, 0.02 * h);
}

TEST(SlipOdds, SameSeedSameBitsOnOneOrTwoThreads) {
  const PassResults pass = Pass(20);
  UncertaintySettings settings;
  settings.realizations = 3000;
  std::string error;
  ASSERT_TRUE(
      ReadUncertainties("s1=normal:2,s2=normal:8,s3=uniform:3,azimuth=uniform:10,frame=normal:5,pp="
                        "uniform:2,mu=normal:0.05,"
                        "c=uniform:0.5,dip_direction=normal:5,dip=uniform:4",
                        settings, error))
      << error;
  const SlipSampler sampler(pass, kDefaults, settings);
  const PlaneSet set = Planes();
  std::vector<SlipOdds> one(set.size());
  std::vector<SlipOdds> two(set.size());
  AssessSlipOdds(sampler, set, 0, set.size(), one.data());
  std::thread other([&] { AssessSlipOdds(sampler, set, 0, 9, two.data()); });
  AssessSlipOdds(sampler, set, 9, set.size(), two.data());
  other.join();
  EXPECT_EQ(std::memcmp(one.data(), two.data(), one.size() * sizeof(SlipOdds)), 0);
  EXPECT_GT(sampler.Resorted(), 0u);  // s1 and s3 errors cross s2 at times
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

struct SpecRow {
  const char* name;
  const char* text;
  const char* error;  ///< empty when read
  Uncertain input;    ///< the input it sets, when read
  Spread::Shape shape;
  double width;
};

const SpecRow kSpecs[] = {
    {"uniform", "pp=uniform:500", "", Uncertain::kPorePressure, Spread::Shape::kUniform, 500},
    {"normal of the last of several", "azimuth=uniform:10,mu=normal:0.05", "", Uncertain::kMu,
     Spread::Shape::kNormal, 0.05},
    {"plane's own dip", "dip=normal:2.5", "", Uncertain::kDip, Spread::Shape::kNormal, 2.5},
    {"unknown key", "sv=uniform:1",
     "unknown uncertainty 'sv=uniform:1'; the keys are s1, s2, s3, azimuth, frame, pp, phi, mu, c, "
     "dip_direction and dip",
     Uncertain::kS1, Spread::Shape::kNone, 0},
    {"no shape", "pp=500",
     "uncertainty 'pp=500' needs uniform:H or normal:SD with a number of 0 or more", Uncertain::kS1,
     Spread::Shape::kNone, 0},
    {"negative width", "c=normal:-1",
     "uncertainty 'c=normal:-1' needs uniform:H or normal:SD with a number of 0 or more",
     Uncertain::kS1, Spread::Shape::kNone, 0},
    {"phi and mu", "phi=uniform:2,mu=normal:0.1", "give an uncertainty of phi or of mu, not both",
     Uncertain::kS1, Spread::Shape::kNone, 0},
    {"empty", "",
     "unknown uncertainty ''; the keys are s1, s2, s3, azimuth, frame, pp, phi, mu, c, "
     "dip_direction and dip",
     Uncertain::kS1, Spread::Shape::kNone, 0},
};

class Specs : public ::testing::TestWithParam<SpecRow> {};

TEST_P(Specs, ReadOrSayWhyNot) {
  const SpecRow& row = GetParam();
  UncertaintySettings settings;
  std::string error;
  EXPECT_EQ(ReadUncertainties(row.text, settings, error), *row.error == '\0');
  EXPECT_EQ(error, row.error);
  if (*row.error == '\0') {
    EXPECT_EQ(settings[row.input].shape, row.shape);
    EXPECT_EQ(settings[row.input].width, row.width);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Specs, ::testing::ValuesIn(kSpecs), test_names::RowName());

// P(slip) and P(open) against their exact values, for laws whose shares are
// known in closed form. The plane 90/45 of a state with principal axes x, y,
// z has sigma = (sx + sz)/2 and tau = |sx - sz|/2. The truncated laws (mu > 0,
// 0 < phi < 90, c >= 0) give shares far from the untruncated ones, so a law
// that kept the negative draws fails; each share within 4 standard errors.
struct OddsCase {
  const char* name;
  stress::StressState state;
  double porePressure;
  double phi;
  double cohesion;
  bool own;  ///< the plane's own friction and cohesion, else the defaults
  const char* uncertainty;
  double pSlip;
  double pOpen;
};

constexpr double kPhiOfMu01 = 5.710593137499643;   // atan(0.1), degrees
constexpr double kPhiOfMu06 = 30.96375653207352;   // atan(0.6), degrees
constexpr double kPhiOfMu005 = 2.862405226111748;  // atan(0.05), degrees

const OddsCase kOddsCases[] = {
    // tau 2, sigma' 3, dPc 8: slips when pp >= 13, opens when pp > 8.
    {"pp across the opening and the line",
     {10, 5, 6, 0, 0, 0},
     5,
     kPhiOfMu06,
     5,
     false,
     "pp=uniform:9",
     1.0 / 18.0,
     6.0 / 18.0},
    {"an opening plane short of the line does not slip",
     {10, 5, 6, 0, 0, 0},
     9,
     kPhiOfMu06,
     5,
     true,
     "pp=uniform:0.5",
     0.0,
     1.0},
    // tau 1, sigma' 10: slips when mu <= 0.1; mu ~ N(0.1, 0.2) cut at 0.
    {"mu drawn again below 0",
     {11, 5, 9, 0, 0, 0},
     0,
     kPhiOfMu01,
     0,
     false,
     "mu=normal:0.2",
     (0.5 - 0.3085375387259869) / (1.0 - 0.3085375387259869),
     0.0},
    {"a plane's own mu drawn again below 0",
     {11, 5, 9, 0, 0, 0},
     0,
     kPhiOfMu01,
     0,
     true,
     "mu=normal:0.2",
     (0.5 - 0.3085375387259869) / (1.0 - 0.3085375387259869),
     0.0},
    // phi ~ U(1 - 10, 1 + 10) cut at 0: U(0, 11); slips when phi <= atan(0.1).
    {"phi drawn again below 0",
     {11, 5, 9, 0, 0, 0},
     0,
     1.0,
     0,
     false,
     "phi=uniform:10",
     kPhiOfMu01 / 11.0,
     0.0},
    {"a plane's own phi drawn again below 0",
     {11, 5, 9, 0, 0, 0},
     0,
     1.0,
     0,
     true,
     "phi=uniform:10",
     kPhiOfMu01 / 11.0,
     0.0},
    // mu 0.05: slips when c <= tau - mu sigma' = 0.5; c ~ |N(0, 1)|.
    {"c drawn again below 0",
     {11, 5, 9, 0, 0, 0},
     0,
     kPhiOfMu005,
     0,
     false,
     "c=normal:1",
     2.0 * (0.6914624612740131 - 0.5),
     0.0},
    {"a plane's own c drawn again below 0",
     {11, 5, 9, 0, 0, 0},
     0,
     kPhiOfMu005,
     0,
     true,
     "c=normal:1",
     2.0 * (0.6914624612740131 - 0.5),
     0.0},
};

class OddsShares : public ::testing::TestWithParam<OddsCase> {};

TEST_P(OddsShares, MatchTheExactShares) {
  const OddsCase& c = GetParam();
  PassInputs inputs = PassInputs::Of(c.state, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = c.porePressure;
  const PassResults pass = RunPass(inputs);
  UncertaintySettings settings;
  std::string error;
  ASSERT_TRUE(ReadUncertainties(c.uncertainty, settings, error)) << error;
  settings.realizations = 200000;
  settings.seed = 77;
  const PlaneDefaults defaults =
      c.own ? PlaneDefaults{10.0, 0.0} : PlaneDefaults{c.phi, c.cohesion};
  const Plane plane = c.own ? Plane{90.0, 45.0, c.phi, c.cohesion} : Plane{90.0, 45.0};
  const SlipSampler sampler(pass, defaults, settings);
  std::vector<double> scratch;
  const SlipOdds odds = sampler.Odds(plane, 0, scratch);
  const auto bound = [&](double p) {
    return 4.0 * std::sqrt(std::max(p * (1.0 - p), 1e-6) / settings.realizations);
  };
  EXPECT_NEAR(odds.pSlip, c.pSlip, bound(c.pSlip));
  EXPECT_NEAR(odds.pOpen, c.pOpen, bound(c.pOpen));
  // P(slip) is the probability curve at 0: the share of dPc <= 0.
  std::vector<double> pressures;
  sampler.PressuresToSlip(plane, 0, pressures);
  const double atZero = static_cast<double>(std::count_if(pressures.begin(), pressures.end(),
                                                          [](double v) { return v <= 0.0; })) /
                        static_cast<double>(pressures.size());
  EXPECT_DOUBLE_EQ(odds.pSlip, atZero);
  // No drawn friction or cohesion left the range: no dPc beyond what the
  // truncated laws allow (mu >= its smallest draw keeps |dPc| bounded).
  for (const double v : pressures)
    ASSERT_TRUE(std::isfinite(v));
}

INSTANTIATE_TEST_SUITE_P(Table, OddsShares, ::testing::ValuesIn(kOddsCases), test_names::RowName());

// A plane exactly on the Coulomb line (dPc 0: the horizontal plane with Pp
// equal to sz, no shear, no cohesion) slips, as the curve at 0 counts it.
TEST(SlipOdds, APlaneOnTheLineSlips) {
  PassInputs inputs = PassInputs::Of({11, 5, 9, 0, 0, 0}, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = 9;
  const PassResults pass = RunPass(inputs);
  UncertaintySettings settings;
  settings.realizations = 10;
  const SlipSampler sampler(pass, PlaneDefaults{30.0, 0.0}, settings);
  std::vector<double> scratch;
  const SlipOdds odds = sampler.Odds(Plane{0.0, 0.0}, 0, scratch);
  EXPECT_EQ(odds.deltaPcP50, 0.0);
  EXPECT_EQ(odds.pSlip, 1.0);
  EXPECT_EQ(odds.pOpen, 0.0);
}

}  // namespace
}  // namespace engine
