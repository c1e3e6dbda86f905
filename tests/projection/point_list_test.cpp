// The in-memory series: placement by order, labels and colours kept, clearing.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "projection/point_series.h"
#include "test_names.h"

namespace projection {
namespace {

using test_names::RowName;

struct Arrival {
  double x;
  const char* label;
};

struct OrderCase {
  const char* name;
  PointOrder order;
  std::vector<Arrival> arrivals;
  std::vector<std::string> expectedLabels;  // stored order after all arrivals
};

const OrderCase kOrderCases[] = {
    {"insertion keeps arrival order",
     PointOrder::Insertion,
     {{0.5, "a"}, {-0.2, "b"}, {0.9, "c"}, {-0.7, "d"}},
     {"a", "b", "c", "d"}},
    {"ascending sorts by x",
     PointOrder::AscendingX,
     {{0.5, "a"}, {-0.2, "b"}, {0.9, "c"}, {-0.7, "d"}},
     {"d", "b", "a", "c"}},
    {"ascending places a tie after its equals",
     PointOrder::AscendingX,
     {{0.3, "first"}, {0.3, "second"}, {-1.0, "low"}, {0.3, "third"}},
     {"low", "first", "second", "third"}},
    {"ascending puts the smallest first",
     PointOrder::AscendingX,
     {{0.0, "zero"}, {-0.0, "negative zero"}, {-1e-300, "tiny"}},
     {"tiny", "zero", "negative zero"}},
    {"ascending keeps four poles in x order",
     PointOrder::AscendingX,
     {{-0.3169873, "joint"}, {0.3169873, "s1"}, {-0.9, "s2"}, {0.1, "s3"}},
     {"s2", "joint", "s3", "s1"}},
};

void PrintTo(const OrderCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<std::string> LabelsOf(const PointList& list) {
  std::vector<std::string> labels;
  for (const NetPoint& p : list.Points())
    labels.push_back(p.label);
  return labels;
}

class PointOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(PointOrderTest, StoresPointsInTheSeriesOrder) {
  const OrderCase& c = GetParam();
  PointList list(c.order);
  for (const Arrival& a : c.arrivals)
    list.AddPoint(a.x, 2.0 * a.x, a.label, kBlue);
  EXPECT_EQ(LabelsOf(list), c.expectedLabels);
  // Each point keeps its own coordinates with its label.
  for (const NetPoint& p : list.Points())
    EXPECT_DOUBLE_EQ(p.y, 2.0 * p.x) << p.label;
}

INSTANTIATE_TEST_SUITE_P(Table, PointOrderTest, ::testing::ValuesIn(kOrderCases), RowName());

TEST(PointList, KeepsEachPointsLabelAndColour) {
  PointList list(PointOrder::AscendingX);
  list.AddPoint(0.25, -0.5, "s2", kRed);
  list.AddPoint(-0.75, 0.125, "s1", kGreen);
  ASSERT_EQ(list.Points().size(), 2u);
  const NetPoint& first = list.Points()[0];
  const NetPoint& second = list.Points()[1];
  EXPECT_EQ(first.label, "s1");
  EXPECT_EQ(first.colour, kGreen);
  EXPECT_DOUBLE_EQ(first.x, -0.75);
  EXPECT_DOUBLE_EQ(first.y, 0.125);
  EXPECT_EQ(second.label, "s2");
  EXPECT_EQ(second.colour, kRed);
  EXPECT_DOUBLE_EQ(second.x, 0.25);
  EXPECT_DOUBLE_EQ(second.y, -0.5);
}

TEST(PointList, ClearPointsEmptiesAndTheSeriesFillsAgain) {
  PointList list;
  list.AddPoint(1.0, 0.0, "", kBlack);
  list.AddPoint(0.0, 1.0, "", kBlack);
  list.ClearPoints();
  EXPECT_EQ(list.Points().size(), 0u);
  list.AddPoint(0.5, 0.5, "joint", kBlack);
  ASSERT_EQ(list.Points().size(), 1u);
  EXPECT_EQ(list.Points()[0].label, "joint");
}

TEST(PointList, ChangedOrderPlacesOnlyLaterPoints) {
  PointList list(PointOrder::AscendingX);
  list.AddPoint(0.9, 0.0, "a", kBlack);
  list.AddPoint(0.1, 0.0, "b", kBlack);
  list.SetOrder(PointOrder::Insertion);
  EXPECT_EQ(list.Order(), PointOrder::Insertion);
  list.AddPoint(-0.5, 0.0, "c", kBlack);
  list.SetOrder(PointOrder::AscendingX);
  // Stored unsorted now (b 0.1, a 0.9, c -0.5). The last stored point whose x
  // is not greater than 0.5 is c, so d goes to the end, not before a; one
  // below every stored x goes first.
  list.AddPoint(0.5, 0.0, "d", kBlack);
  list.AddPoint(-0.6, 0.0, "e", kBlack);
  const std::vector<std::string> expected{"e", "b", "a", "c", "d"};
  EXPECT_EQ(LabelsOf(list), expected);
}

}  // namespace
}  // namespace projection
