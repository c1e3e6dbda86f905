// Round steps: the next 1-2-5 step and its decimals, and the ticks of a range.

#include "geometry/steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "test_names.h"

namespace {

using namespace geometry;
using test_names::RowName;

struct StepCase {
  const char* name;
  double wanted;  ///< stress units between ticks at the least
  double step;
  int decimals;
};

const StepCase kStepCases[] = {
    {"one", 1.0, 1.0, 0},
    {"just over one", 1.0001, 2.0, 0},
    {"two and a half", 2.5, 5.0, 0},
    {"just over five", 5.2, 10.0, 0},
    {"tenths", 0.13, 0.2, 1},
    {"thousands", 1234.0, 2000.0, 0},
    {"millionths", 3e-6, 5e-6, 6},
    {"huge", 7e300, 1e301, 0},
};

class StepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepTest, NextOneTwoOrFiveAndItsDecimals) {
  const StepCase& c = GetParam();
  EXPECT_DOUBLE_EQ(geometry::NiceStep(c.wanted), c.step);
  EXPECT_EQ(geometry::StepDecimals(c.step), c.decimals);
}

INSTANTIATE_TEST_SUITE_P(Table, StepTest, ::testing::ValuesIn(kStepCases), RowName());

struct TickCase {
  const char* name;
  double min;
  double max;
  double step;
  std::vector<double> ticks;
};

const TickCase kTickCases[] = {
    {"across zero", -1.3, 2.1, 1.0, {-1, 0, 1, 2}},
    {"ends on ticks", 0.0, 4.0, 2.0, {0, 2, 4}},
    {"none inside", 0.1, 0.4, 0.5, {}},
    {"bounded count", 0.0, 1e6, 1.0, {}},  // kMaxTicks of them, checked below
};

class TickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(TickTest, MultiplesOfTheStepInsideTheRange) {
  const TickCase& c = GetParam();
  const std::vector<double> ticks = geometry::TickValues(c.min, c.max, c.step);
  if (c.max / c.step > geometry::kMaxTicks) {
    ASSERT_EQ(ticks.size(), static_cast<std::size_t>(geometry::kMaxTicks));
    EXPECT_EQ(ticks.front(), c.min);
    return;
  }
  EXPECT_EQ(ticks, c.ticks);
}

INSTANTIATE_TEST_SUITE_P(Table, TickTest, ::testing::ValuesIn(kTickCases), RowName());

}  // namespace
