// Principal stress values: worked examples, guards, overflow, and properties
// against an independent eigensolver over families of generated tensors.

#include "stress/principal_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "numeric/floating_point_error.h"
#include "tensor_families.h"
#include "test_names.h"

namespace stress {
namespace {

using test_names::RowName;
using testing::Family;
using testing::FamilyCase;

/// The text the window shows for a value: 3 decimals, no minus on a zero.
std::string Shown(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  const std::string s = text;
  return s == "-0.000" ? "0.000" : s;
}

struct ValuesCase {
  const char* name;
  StressState state;
  double s1, s2, s3;  ///< expected values
  double tolerance;   ///< on each value
  const char* shown1;
  const char* shown2;
  const char* shown3;
};

const ValuesCase kValuesCases[] = {
    {"default_input",
     {3.4, 1, 8, 1, -1, 2},
     8.793646854800,
     3.340850707311,
     0.265502437889,
     5e-13,
     "8.794",
     "3.341",
     "0.266"},
    {"default_with_signs_reversed",
     {-3.4, -1, -8, -1, 1, -2},
     -0.265502437889,
     -3.340850707311,
     -8.793646854800,
     5e-13,
     "-0.266",
     "-3.341",
     "-8.794"},
    {"all_zero", {0, 0, 0, 0, 0, 0}, 0, 0, 0, 0, "0.000", "0.000", "0.000"},
    {"not_zero_but_below_threshold",
     {4e-10, 0, 0, 3e-10, 0, 2.9e-10},
     0,
     0,
     0,
     0,
     "0.000",
     "0.000",
     "0.000"},
    {"hydrostatic", {5, 5, 5, 0, 0, 0}, 5, 5, 5, 0, "5.000", "5.000", "5.000"},
    {"uniaxial", {5, 0, 0, 0, 0, 0}, 5, 0, 0, 5e-15, "5.000", "0.000", "0.000"},
    {"pure_shear", {0, 0, 0, 1, 0, 0}, 1, 0, -1, 1e-15, "1.000", "0.000", "-1.000"},
    // R == 0 takes the limit of the formula: the exact values, not 0.011 -0.003 -0.008.
    {"pure_shear_of_a_hundredth",
     {0, 0, 0, 0.01, 0, 0},
     0.01,
     0,
     -0.01,
     1e-17,
     "0.010",
     "0.000",
     "-0.010"},
    {"shears_only", {0, 0, 0, 1, 1, 1}, 2, -1, -1, 1e-15, "2.000", "-1.000", "-1.000"},
    {"handedness_example",
     {4, 3, 2, -2, -1, -2},
     5.874075531455,
     3.513543527020,
     -0.387619058475,
     5e-12,
     "5.874",
     "3.514",
     "-0.388"},
    {"axis_aligned_ascending", {1, 2, 3, 0, 0, 0}, 3, 2, 1, 1e-15, "3.000", "2.000", "1.000"},
    {"axis_aligned_descending", {3, 2, 1, 0, 0, 0}, 3, 2, 1, 1e-15, "3.000", "2.000", "1.000"},
    // A repeated pair at stresses of 1e5 keeps its third decimal.
    {"repeated_pair_at_depth",
     {210000, 210000, 530000, 0, 0, 0},
     530000,
     210000,
     210000,
     1e-10,
     "530000.000",
     "210000.000",
     "210000.000"},
    {"small_stresses",
     {0.001, 0.002, 0.003, 0, 0, 0},
     0.003,
     0.002,
     0.001,
     1e-18,
     "0.003",
     "0.002",
     "0.001"},
};

class ValuesTable : public ::testing::TestWithParam<ValuesCase> {};

TEST_P(ValuesTable, MatchesWorkedValues) {
  const ValuesCase& c = GetParam();
  const PrincipalValues v = ComputePrincipalValues(c.state);
  EXPECT_NEAR(v.s1, c.s1, c.tolerance);
  EXPECT_NEAR(v.s2, c.s2, c.tolerance);
  EXPECT_NEAR(v.s3, c.s3, c.tolerance);
  EXPECT_EQ(Shown(v.s1), c.shown1);
  EXPECT_EQ(Shown(v.s2), c.shown2);
  EXPECT_EQ(Shown(v.s3), c.shown3);
}

INSTANTIATE_TEST_SUITE_P(Worked, ValuesTable, ::testing::ValuesIn(kValuesCases), RowName());

TEST(PrincipalValues, ZeroTensorGivesPositiveZeros) {
  for (const StressState s : {StressState{}, StressState{-4e-10, 0, 0, -3e-10, 0, -2.9e-10}}) {
    const PrincipalValues v = ComputePrincipalValues(s);
    EXPECT_EQ(std::signbit(v.s1) + std::signbit(v.s2) + std::signbit(v.s3), 0);
    EXPECT_EQ(v.s1, 0.0);
  }
}

TEST(PrincipalValues, HydrostaticValuesAreExactlyTheMean) {
  for (const double m : {0.1, -7.3, 1e-7, 123456.789, 2.5e200}) {
    const PrincipalValues v = ComputePrincipalValues({m, m, m, 0, 0, 0});
    EXPECT_EQ(v.s1, m);
    EXPECT_EQ(v.s2, m);
    EXPECT_EQ(v.s3, m);
  }
}

struct OverflowCase {
  const char* name;
  StressState state;
  bool overflows;
};

// Q^3 = (sx/3)^6 reaches the double range at sx of about 7.1e51.
const OverflowCase kOverflowCases[] = {
    {"sx_1e52", {1e52, 0, 0, 0, 0, 0}, true},
    {"sx_7p2e51", {7.2e51, 0, 0, 0, 0, 0}, true},
    {"sx_7e51", {7e51, 0, 0, 0, 0, 0}, false},
    {"shear_1e52", {0, 0, 0, 0, 1e52, 0}, true},
    {"sum_of_magnitudes", {1.5e308, -1.5e308, 0, 0, 0, 0}, true},
    // Q, a square of the deviator, leaves the double range although the values do not.
    {"deviator_at_1e200", {1e200, 1e200, 1.0000000001e200, 0, 0, 0}, true},
    {"hydrostatic_at_1e300", {1e300, 1e300, 1e300, 0, 0, 0}, false},
};

class ValuesOverflow : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(ValuesOverflow, RaisesOnlyBeyondTheDoubleRange) {
  const OverflowCase& c = GetParam();
  if (c.overflows) {
    try {
      ComputePrincipalValues(c.state);
      FAIL() << "no overflow raised";
    } catch (const numeric::FloatingPointError& e) {
      EXPECT_STREQ(e.what(), "Floating point overflow");
    }
  } else {
    const PrincipalValues v = ComputePrincipalValues(c.state);
    EXPECT_GE(v.s1, v.s2);
    EXPECT_GE(v.s2, v.s3);
    EXPECT_GT(v.s1, 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, ValuesOverflow, ::testing::ValuesIn(kOverflowCases), RowName());

// Properties against Eigen's iterative solver on the long double matrix of
// the same doubles. Every value must lie within 1e-12 of the largest component
// of the reference: the closed form carries its terms in long double and
// stores about ten doubles, so its own error is a few 1e-16 of the largest
// component where the values are well separated, and the close-pair solver
// keeps nearly equal values to the same size. The bound leaves a margin of
// more than a hundred over what was measured.
class ValuesProperties : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(ValuesProperties, SortedAndCloseToTheReference) {
  const FamilyCase& family = GetParam();
  testing::TensorSource source(family.family, family.seed);
  long double worst = 0.0L;
  int failures = 0;
  for (int n = 0; n < testing::kTensorsPerFamily; ++n) {
    const StressState s = source.Next();
    const PrincipalValues v = ComputePrincipalValues(s);
    ASSERT_GE(v.s1, v.s2);
    ASSERT_GE(v.s2, v.s3);
    const long double scale = testing::MaxComponent(s);
    if (testing::SumOfMagnitudes(s) < 1e-9L) {
      // The guard: a tensor this small counts as zero.
      EXPECT_EQ(v.s1, 0.0);
      EXPECT_EQ(v.s3, 0.0);
      continue;
    }
    const testing::Reference ref = testing::Solve(s);
    for (int i = 0; i < 3; ++i) {
      const long double error = std::fabs(v[i] - ref.values[static_cast<std::size_t>(i)]) / scale;
      worst = std::max(worst, error);
      if (error > 1e-12L && ++failures <= 3) {
        ADD_FAILURE() << "s" << i + 1 << " off by " << static_cast<double>(error)
                      << " of the largest component for " << testing::Describe(s);
      }
    }
  }
  EXPECT_EQ(failures, 0);
  std::cout << "[ values  ] " << family.name << ": worst error " << static_cast<double>(worst)
            << " of the largest component\n";
  RecordProperty("worst_value_error", std::to_string(static_cast<double>(worst)));
}

INSTANTIATE_TEST_SUITE_P(Families, ValuesProperties, ::testing::ValuesIn(testing::kFamilies),
                         RowName());

}  // namespace
}  // namespace stress
