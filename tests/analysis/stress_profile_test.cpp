// Stress profiles: a table's rows interpolated as worked by hand, the SHmax
// azimuth across North and as an axis, depths outside refused, and gradients
// against a table holding the same values.

#include "analysis/stress_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "test_names.h"

namespace analysis {
namespace {

using test_names::RowName;

const std::vector<ProfileRow> kTable = {
    {1000, 22, 25, 16, 10, 350},
    {2000, 45, 50, 30, 20, 10},
    {3000, 69, 65, 48, 31, 100},
    {4000, 92, 90, 60, 42, 260},
};

StressProfile TableProfile() {
  BuiltProfile built = StressProfile::FromTable(UnitSystem::kMegapascalMetre, kTable);
  EXPECT_TRUE(built.profile.has_value()) << built.problem;
  return *built.profile;
}

std::string Text(const ProfileRow& r) {
  char text[160];
  std::snprintf(text, sizeof text, "%.6g: %.6g %.6g %.6g %.6g %.6g", r.depth, r.sv, r.shMax,
                r.shMin, r.porePressure, r.shMaxAzimuth);
  return text;
}

struct AtCase {
  const char* name;
  double depth;
  const char* row;  ///< depth: sv shmax shmin pp azimuth
};

// Worked by hand: t = (z - z_a) / (z_b - z_a), a + t (b - a).
const AtCase kAtCases[] = {
    {"first row", 1000, "1000: 22 25 16 10 350"},
    {"a quarter down", 1250, "1250: 27.75 31.25 19.5 12.5 355"},
    {"halfway crosses North", 1500, "1500: 33.5 37.5 23 15 0"},
    {"past North", 1750, "1750: 39.25 43.75 26.5 17.5 5"},
    {"a middle row", 2000, "2000: 45 50 30 20 10"},
    // 10 to 100 is a right angle: turned clockwise.
    {"a right angle turns clockwise", 2500, "2500: 57 57.5 39 25.5 55"},
    // 100 to 260 is the axis 100 to 80: 20 degrees back, not 160 on.
    {"the shorter turn of the axis", 3500, "3500: 80.5 77.5 54 36.5 90"},
    {"last row", 4000, "4000: 92 90 60 42 260"},
};

class TableAtTest : public ::testing::TestWithParam<AtCase> {};

TEST_P(TableAtTest, InterpolatesAsWorked) {
  const AtCase& c = GetParam();
  const ProfileValue v = TableProfile().At(c.depth);
  ASSERT_TRUE(v.row.has_value()) << v.problem;
  EXPECT_EQ(Text(*v.row), c.row);
}

INSTANTIATE_TEST_SUITE_P(Table, TableAtTest, ::testing::ValuesIn(kAtCases), RowName());

struct OutsideCase {
  const char* name;
  double depth;
  const char* problem;
};

const OutsideCase kOutsideCases[] = {
    {"above the first row", 999.5, "depth 999.5 is above the table's first row (1000)"},
    {"below the last row", 4000.25, "depth 4000.25 is below the table's last row (4000)"},
    {"not a number", NAN, "the depth is not a number"},
};

class TableOutsideTest : public ::testing::TestWithParam<OutsideCase> {};

TEST_P(TableOutsideTest, IsRefused) {
  const OutsideCase& c = GetParam();
  const ProfileValue v = TableProfile().At(c.depth);
  EXPECT_FALSE(v.row.has_value());
  EXPECT_EQ(v.problem, c.problem);
}

INSTANTIATE_TEST_SUITE_P(Table, TableOutsideTest, ::testing::ValuesIn(kOutsideCases), RowName());

TEST(StressProfile, NoProfileHasNoDepth) {
  EXPECT_EQ(StressProfile().At(1000).problem, "there is no profile");
  EXPECT_FALSE(StressProfile().Top().has_value());
}

struct BadTableCase {
  const char* name;
  std::vector<ProfileRow> rows;
  const char* problem;
};

const BadTableCase kBadTables[] = {
    {"empty", {}, "The table has no rows"},
    {"depth going up",
     {{1000, 22, 25, 16, 10, 0}, {2000, 45, 50, 30, 20, 0}, {1500, 30, 35, 20, 15, 0}},
     "row 3: depth 1500 is not below the row before (2000)"},
    {"SHmax below Shmin", {{1000, 22, 15, 16, 10, 0}}, "row 1: shmax 15 is below shmin 16"},
    {"a value that is no number", {{1000, 22, 25, NAN, 10, 0}}, "row 1: shmin is not a number"},
};

class BadTableTest : public ::testing::TestWithParam<BadTableCase> {};

TEST_P(BadTableTest, IsRefused) {
  const BadTableCase& c = GetParam();
  const BuiltProfile built = StressProfile::FromTable(UnitSystem::kMegapascalMetre, c.rows);
  EXPECT_FALSE(built.profile.has_value());
  EXPECT_EQ(built.problem, c.problem);
}

INSTANTIATE_TEST_SUITE_P(Table, BadTableTest, ::testing::ValuesIn(kBadTables), RowName());

// ---------------------------------------------------------------------------
// Gradients.

GradientProfile Gradients() {
  GradientProfile g;
  g.gradients = {UnitSystem::kMegapascalMetre, 0, 24, std::nullopt, 29, 17.5, 10.2, 35};
  return g;
}

// With a value at 2000: Sv(z) = 48 + 24 (z - 2000) / 1000; the others from 0.
TEST(StressProfile, GradientsFromAReferenceValue) {
  GradientProfile g = Gradients();
  g.referenceDepth = 2000;
  g.svAtReference = 48;
  const StressProfile profile = StressProfile::FromGradients(g);
  const ProfileValue deep = profile.At(3000);
  ASSERT_TRUE(deep.row.has_value());
  EXPECT_EQ(Text(*deep.row), "3000: 72 87 52.5 30.6 35");
  EXPECT_EQ(Text(*profile.At(500).row), "500: 12 14.5 8.75 5.1 35");
  EXPECT_EQ(profile.At(-1).problem, "depth -1 is above the surface");
  EXPECT_EQ(*profile.Top(), 0.0);
}

// A table holding a gradient profile's values every 250 m (each worked as
// S_ref + G (z - z_ref) / 1000 in double, SHmax above Shmin throughout) gives the profile's
// stresses at any depth between: a linear function is its own linear interpolation. Values reach
// 200 MPa; the table's values, t and the sum carry a few 1e-16 of them: 1e-12 allows for that.
TEST(StressProfile, GradientsAgreeWithATableOfTheirValues) {
  GradientProfile g = Gradients();
  g.referenceDepth = 1500;
  g.shMinAtReference = 25;
  g.porePressureAtReference = 15;
  const StressProfile gradients = StressProfile::FromGradients(g);
  const DepthProfile& d = g.gradients;
  std::vector<ProfileRow> rows;
  for (int z = 0; z <= 6000; z += 250)
    rows.push_back({double(z), d.verticalGradient * z / 1000, d.shMaxGradient * z / 1000,
                    25 + d.shMinGradient * (z - 1500) / 1000,
                    15 + d.porePressureGradient * (z - 1500) / 1000, d.shMaxAzimuth});
  const BuiltProfile table = StressProfile::FromTable(UnitSystem::kMegapascalMetre, rows);
  ASSERT_TRUE(table.profile.has_value()) << table.problem;
  std::mt19937_64 random(38);
  std::uniform_real_distribution<double> depth(0.0, 6000.0);
  for (int n = 0; n < 20000; ++n) {
    const double z = n == 0 ? 6000.0 : depth(random);
    const ProfileRow a = *gradients.At(z).row;
    const ProfileRow b = *table.profile->At(z).row;
    ASSERT_NEAR(a.sv, b.sv, 1e-12) << z;
    ASSERT_NEAR(a.shMax, b.shMax, 1e-12) << z;
    ASSERT_NEAR(a.shMin, b.shMin, 1e-12) << z;
    ASSERT_NEAR(a.porePressure, b.porePressure, 1e-12) << z;
    ASSERT_EQ(a.shMaxAzimuth, b.shMaxAzimuth) << z;
  }
}

}  // namespace
}  // namespace analysis
