// Planes at their own depths: each plane's row is the row it gets as the
// only plane under the state the depth builder makes at its depth, to the bit;
// planes without a depth keep the set's state; depths outside are refused.

#include "engine/depth_planes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "analysis/stress_builders.h"
#include "engine/pass.h"

namespace engine {
namespace {

bool Same(const PlaneResult& a, const PlaneResult& b) {
  const double x[] = {a.sigma,        a.tau,       a.sigmaEff,       a.tauLimEff, a.ts,
                      a.tsNormalized, a.td,        a.factorOfSafety, a.cff,       a.deltaPc,
                      a.rake,         a.slipTrend, a.slipPlunge};
  const double y[] = {b.sigma,        b.tau,       b.sigmaEff,       b.tauLimEff, b.ts,
                      b.tsNormalized, b.td,        b.factorOfSafety, b.cff,       b.deltaPc,
                      b.rake,         b.slipTrend, b.slipPlunge};
  for (int k = 0; k < 13; ++k)
    if (std::memcmp(&x[k], &y[k], sizeof x[k]) != 0 && !(std::isnan(x[k]) && std::isnan(y[k])))
      return false;
  return a.state == b.state;
}

PassResults Pass(const stress::StressState& state, double porePressure, stress::Azimuth azimuth) {
  PassInputs inputs = PassInputs::Of(state, azimuth);
  inputs.porePressure = porePressure;
  return RunPass(inputs);
}

/// The plane alone under `results`, as the Planes window assesses it.
PlaneResult Alone(const PassResults& results, const Plane& plane, const PlaneDefaults& defaults) {
  PlaneSet one;
  one.push_back(plane, "");
  PlaneResult r;
  AssessPlanes(results, one, defaults, 0, 1, &r);
  return r;
}

// A gradient profile against the window's depth builder: StressesAtDepth at
// the plane's depth, HorizontalTensor, a pass with that Pp. Every tenth plane
// has no depth and keeps the set's state; planes come in runs at one depth
// now and then, which share a pass. Run in two halves, as threads would.
TEST(DepthPlanes, EachPlaneIsTheStateBuiltAtItsDepthToTheBit) {
  std::mt19937_64 random(40);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 40; ++trial) {
    analysis::GradientProfile g;
    analysis::DepthProfile& d = g.gradients;
    d.units = trial % 2 ? analysis::UnitSystem::kPsiFoot : analysis::UnitSystem::kMegapascalMetre;
    const double scale = trial % 2 ? 0.0442 : 1.0;
    d.verticalGradient = (22 + 4 * unit(random)) * scale;
    if (trial % 3 == 0)
      d.density = 2.2 + 0.4 * unit(random);
    d.shMaxGradient = (12 + 25 * unit(random)) * scale;
    d.shMinGradient = (11 + 10 * unit(random)) * scale;
    d.porePressureGradient = (9.8 + 3 * unit(random)) * scale;
    d.shMaxAzimuth = 360 * unit(random);
    const analysis::StressProfile profile = analysis::StressProfile::FromGradients(g);
    const stress::Azimuth azimuth = trial % 4 < 2 ? stress::Azimuth::kClockwiseFromNorth
                                                  : stress::Azimuth::kCounterClockwiseFromEast;
    const PassResults state = Pass({30, 20, 40, 3, -2, 1}, 8, azimuth);
    const PlaneDefaults defaults{30.0, trial % 5 == 0 ? 0.0 : 1.5};

    PlaneSet set;
    std::vector<double> depths;
    double depth = 0;
    for (int i = 0; i < 1000; ++i) {
      set.push_back(
          {360 * unit(random), 90 * unit(random), i % 7 == 0 ? 20 + 20 * unit(random) : NAN, NAN},
          "");
      if (i % 10 == 9)
        depths.push_back(NAN);
      else {
        if (unit(random) < 0.7)
          depth = 5000 * unit(random);
        depths.push_back(depth);
      }
    }
    std::vector<PlaneResult> out(set.size());
    std::vector<LocalStresses> local(set.size());
    AssessPlanesAtDepth(state, set, depths, profile, defaults, 0, 500, out.data(), local.data());
    AssessPlanesAtDepth(state, set, depths, profile, defaults, 500, set.size(), out.data(),
                        local.data());

    for (std::size_t i = 0; i < set.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << trial << " plane " << i);
      if (std::isnan(depths[i])) {
        ASSERT_TRUE(Same(out[i], Alone(state, set.planes[i], defaults)));
        ASSERT_EQ(local[i].source, DepthSource::kState);
        continue;
      }
      analysis::DepthProfile at = d;
      at.depth = depths[i];
      const analysis::DepthStresses s = analysis::StressesAtDepth(at);
      const PassResults built =
          Pass(analysis::HorizontalTensor(s.sv, s.shMax, s.shMin, d.shMaxAzimuth), s.porePressure,
               azimuth);
      ASSERT_TRUE(Same(out[i], Alone(built, set.planes[i], defaults)));
      ASSERT_EQ(local[i].source, DepthSource::kProfile);
      ASSERT_EQ(local[i].depth, depths[i]);
      ASSERT_EQ(local[i].sv, s.sv);
      ASSERT_EQ(local[i].shMax, s.shMax);
      ASSERT_EQ(local[i].shMin, s.shMin);
      ASSERT_EQ(local[i].porePressure, s.porePressure);
    }
  }
}

// Planes above and below a table get no numbers, and the profile says why;
// those inside get the numbers of the state built from the table's row.
TEST(DepthPlanes, DepthsOutsideTheTableHaveNoNumbers) {
  const analysis::StressProfile profile =
      *analysis::StressProfile::FromTable(analysis::UnitSystem::kMegapascalMetre,
                                          {{1000, 22, 25, 16, 10, 350}, {2000, 45, 50, 30, 20, 10}})
           .profile;
  const PassResults state = Pass({30, 20, 40, 3, -2, 1}, 8, stress::Azimuth::kClockwiseFromNorth);
  PlaneSet set;
  for (int i = 0; i < 4; ++i)
    set.push_back({40.0 * i, 60}, "");
  const std::vector<double> depths = {999, 1500, 2000.5, 2000};
  std::vector<PlaneResult> out(set.size());
  std::vector<LocalStresses> local(set.size());
  AssessPlanesAtDepth(state, set, depths, profile, {30.0, 0.0}, 0, set.size(), out.data(),
                      local.data());
  for (const std::size_t i : {std::size_t{0}, std::size_t{2}}) {
    EXPECT_EQ(local[i].source, DepthSource::kOutside);
    EXPECT_TRUE(std::isnan(out[i].sigma) && std::isnan(out[i].deltaPc));
    EXPECT_EQ(out[i].state, PlaneState::kNone);
    EXPECT_FALSE(profile.At(depths[i]).problem.empty());
  }
  // 1500 is halfway: Sv 33.5, SHmax 37.5, Shmin 23, Pp 15, SHmax towards North.
  const PassResults half =
      Pass(analysis::HorizontalTensor(33.5, 37.5, 23, 0), 15, stress::Azimuth::kClockwiseFromNorth);
  EXPECT_TRUE(Same(out[1], Alone(half, set.planes[1], {30.0, 0.0})));
  EXPECT_EQ(local[1].sv, 33.5);
  const PassResults last =
      Pass(analysis::HorizontalTensor(45, 50, 30, 10), 20, stress::Azimuth::kClockwiseFromNorth);
  EXPECT_TRUE(Same(out[3], Alone(last, set.planes[3], {30.0, 0.0})));
}

}  // namespace
}  // namespace engine
