// The curves drawn again only when they change: whatever the cache skips,
// the series end up holding, to the bit, what drawing them again gives.

#include "projection/trace_cache.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "projection/equal_area.h"
#include "projection/point_series.h"
#include "test_names.h"

namespace projection {
namespace {

using test_names::RowName;

// Points compared to the bit, labels and colours included.
void ExpectSamePoints(const PointList& actual, const PointList& expected) {
  ASSERT_EQ(actual.Points().size(), expected.Points().size());
  for (std::size_t i = 0; i < actual.Points().size(); ++i) {
    const NetPoint& a = actual.Points()[i];
    const NetPoint& e = expected.Points()[i];
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a.x), std::bit_cast<std::uint64_t>(e.x)) << i;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a.y), std::bit_cast<std::uint64_t>(e.y)) << i;
    EXPECT_EQ(a.label, e.label) << i;
    EXPECT_EQ(a.colour, e.colour) << i;
  }
}

struct PlaneInputs {
  Colour colour = kGreen;
  double dipDirection = -2.5;
  double dip = 0.7;
  std::string label = "s1";
};

// The second of two passes over one series and one pole series: what changes
// between them, and whether the trace is computed again.
struct SecondPassCase {
  const char* name;
  std::function<void(PlaneInputs&)> change;
  std::function<void(PointList&)> touchSeries;  // between the passes, if any
  bool traced;
};
const SecondPassCase kSecondPassCases[] = {
    {"same inputs", [](PlaneInputs&) {}, nullptr, false},
    {"dip direction one bit apart",
     [](PlaneInputs& p) { p.dipDirection = std::nextafter(p.dipDirection, 0.0); }, nullptr, true},
    {"dip one bit apart", [](PlaneInputs& p) { p.dip = std::nextafter(p.dip, 1.0); }, nullptr,
     true},
    {"colour", [](PlaneInputs& p) { p.colour = kRed; }, nullptr, true},
    {"label", [](PlaneInputs& p) { p.label = "s2"; }, nullptr, true},
    {"series cleared", [](PlaneInputs&) {}, [](PointList& s) { s.ClearPoints(); }, true},
    {"point added to the series", [](PlaneInputs&) {},
     [](PointList& s) { s.AddPoint(0.0, 0.0, "", kBlack); }, true},
};
class TraceCacheTest : public ::testing::TestWithParam<SecondPassCase> {};

TEST_P(TraceCacheTest, SeriesHoldWhatPlottingAgainGives) {
  const SecondPassCase& c = GetParam();
  TraceCache cache;
  PointList series;
  PointList poles(PointOrder::AscendingX);
  PlaneInputs inputs;
  cache.PlotPlane(series, poles, inputs.colour, inputs.dipDirection, inputs.dip, inputs.label);
  if (c.touchSeries)
    c.touchSeries(series);
  c.change(inputs);
  poles.ClearPoints();
  poles.AddPoint(0.1, 0.2, "joint", kBlack);
  const std::uint64_t before = series.Revision();
  cache.PlotPlane(series, poles, inputs.colour, inputs.dipDirection, inputs.dip, inputs.label);

  PointList expectedSeries;
  PointList expectedPoles(PointOrder::AscendingX);
  expectedPoles.AddPoint(0.1, 0.2, "joint", kBlack);
  PlotPlane(expectedSeries, expectedPoles, inputs.colour, inputs.dipDirection, inputs.dip,
            inputs.label);
  ExpectSamePoints(series, expectedSeries);
  ExpectSamePoints(poles, expectedPoles);
  EXPECT_EQ(series.Revision() != before, c.traced);
}
INSTANTIATE_TEST_SUITE_P(Table, TraceCacheTest, ::testing::ValuesIn(kSecondPassCases), RowName());

TEST(TraceCache, KeepsOnePlanePerSeries) {
  TraceCache cache;
  PointList s1, s2, poles(PointOrder::AscendingX);
  cache.PlotPlane(s1, poles, kGreen, 1.0, 0.5, "s1");
  cache.PlotPlane(s2, poles, kRed, 2.0, 0.25, "s2");
  const std::uint64_t r1 = s1.Revision();
  const std::uint64_t r2 = s2.Revision();
  cache.PlotPlane(s1, poles, kGreen, 1.0, 0.5, "s1");
  cache.PlotPlane(s2, poles, kRed, 2.0, 0.25, "s2");
  EXPECT_EQ(s1.Revision(), r1);
  EXPECT_EQ(s2.Revision(), r2);
  EXPECT_EQ(poles.Points().size(), 4u);
}

TEST(TraceCache, CircleIsDrawnOnceWhileItsSeriesKeepsIt) {
  TraceCache cache;
  PointList circle;
  circle.AddPoint(5.0, 5.0, "stray", kRed);
  cache.DrawPrimitiveCircle(circle);
  PointList expected;
  AddPrimitiveCircle(expected);
  ExpectSamePoints(circle, expected);
  const std::uint64_t drawn = circle.Revision();
  cache.DrawPrimitiveCircle(circle);
  EXPECT_EQ(circle.Revision(), drawn);
  circle.AddPoint(0.0, 0.0, "", kBlack);
  cache.DrawPrimitiveCircle(circle);
  ExpectSamePoints(circle, expected);
}

TEST(PointListRevision, EveryChangeAndEveryListHasItsOwn) {
  PointList a;
  PointList b;
  std::vector<std::uint64_t> seen = {a.Revision(), b.Revision()};
  a.AddPoint(0.5, 0.5, "", kBlack);
  seen.push_back(a.Revision());
  a.ClearPoints();  // empty again, yet not the state it had before
  seen.push_back(a.Revision());
  a.SetOrder(PointOrder::AscendingX);  // placement of later points only
  EXPECT_EQ(a.Revision(), seen.back());
  const PointList copy = a;
  seen.push_back(copy.Revision());
  b = a;
  seen.push_back(b.Revision());
  for (std::size_t i = 0; i < seen.size(); ++i)
    for (std::size_t j = i + 1; j < seen.size(); ++j)
      EXPECT_NE(seen[i], seen[j]) << i << " " << j;
}

}  // namespace
}  // namespace projection
