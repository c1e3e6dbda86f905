// Marching squares on single cells, row by row: which edges a level crosses
// and where, the two saddles joined as the centre says, a sample on the level
// counted above it, cells with a NaN skipped, and the levels kept apart.

#include "projection/contour_segments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "test_names.h"

namespace projection {
namespace {

struct CellRow {
  const char* name;
  float v[4];  ///< samples (0,0), (1,0), (0,1), (1,1), row-major
  float level;
  /// The segments' end points, each "x0,y0-x1,y1" to one decimal, in order.
  std::vector<std::string> segments;
};

std::string Text(const GridSegment& s) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f,%.1f-%.1f,%.1f", s.x0, s.y0, s.x1, s.y1);
  return text;
}

const CellRow kCells[] = {
    {"all below", {0, 0, 0, 0}, 1, {}},
    {"all above", {2, 2, 2, 2}, 1, {}},
    {"one corner above cuts it off", {2, 0, 0, 0}, 1, {"0.0,0.5-0.5,0.0"}},
    {"left half above: a vertical line", {2, 0, 2, 0}, 1, {"0.5,0.0-0.5,1.0"}},
    {"top row above: a horizontal line a third of the way up",
     {3, 3, 0, 0},
     1,
     {"0.0,0.7-1.0,0.7"}},
    {"saddle, centre below: the corners above apart",
     {2, 0, 0, 2},
     1.5F,
     {"0.0,0.2-0.2,0.0", "1.0,0.8-0.8,1.0"}},
    {"saddle, centre above: the corners below apart",
     {3, 0, 0, 3},
     1.4F,
     {"0.5,0.0-1.0,0.5", "0.5,1.0-0.0,0.5"}},
    {"a sample on the level is above", {1, 0, 0, 0}, 1, {"0.0,0.0-0.0,0.0"}},
    {"a NaN sample: no segment", {2, NAN, 0, 0}, 1, {}},
};

class Cells : public ::testing::TestWithParam<CellRow> {};

TEST_P(Cells, CrossTheirEdgesWhereTheLevelIs) {
  const CellRow& row = GetParam();
  std::vector<std::vector<GridSegment>> out;
  AddContourSegments(row.v, 2, 2, {row.level}, out);
  ASSERT_EQ(out.size(), 1u);
  std::vector<std::string> texts;
  for (const GridSegment& s : out[0])
    texts.push_back(Text(s));
  EXPECT_EQ(texts, row.segments);
}

INSTANTIATE_TEST_SUITE_P(Table, Cells, ::testing::ValuesIn(kCells), test_names::RowName());

// Each level's segments go to its own list, from one sweep.
TEST(ContourSegments, LevelsKeepTheirOwnSegments) {
  const float ramp[6] = {0, 1, 2, 0, 1, 2};  // 3 x 2, rising to the right
  std::vector<std::vector<GridSegment>> out;
  AddContourSegments(ramp, 3, 2, {0.5F, 1.5F, 5.0F}, out);
  ASSERT_EQ(out.size(), 3u);
  ASSERT_EQ(out[0].size(), 1u);
  ASSERT_EQ(out[1].size(), 1u);
  EXPECT_TRUE(out[2].empty());
  EXPECT_FLOAT_EQ(out[0][0].x0, 0.5F);
  EXPECT_FLOAT_EQ(out[1][0].x0, 1.5F);
}

}  // namespace
}  // namespace projection
