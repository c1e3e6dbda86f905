// Where labels go: above their mark when nothing is in the way, beside or
// below it when something is, never over another label or a mark while room
// allows, and always inside the area; and, over many random scenes, no two
// labels overlap where the area has room for all.

#include "geometry/label_places.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "test_names.h"

namespace geometry {
namespace {

constexpr double kArm = 3.0;
constexpr double kGap = 2.0;

LabelScene Scene(std::vector<PlaneRect> taken = {}, std::vector<AvoidedLine> lines = {}) {
  LabelScene scene;
  scene.area = {0, 0, 200, 200};
  scene.taken = std::move(taken);
  scene.lines = std::move(lines);
  scene.markArm = kArm;
  scene.gap = kGap;
  return scene;
}

struct PlaceCase {
  const char* name;
  LabelScene scene;
  LabelRequest label;
  /// Where the label must stand relative to its mark at (100, 100).
  enum class Side { kAbove, kNotAbove } side;
};

const PlaceCase kPlaceCases[] = {
    {"nothing in the way: centred above", Scene(), {{100, 100}, 20, 10}, PlaceCase::Side::kAbove},
    {"a text above: not above",
     Scene({{80, 70, 40, 28}}),
     {{100, 100}, 20, 10},
     PlaceCase::Side::kNotAbove},
    {"a mark at the top edge: clear of it",
     [] {
       LabelScene scene = Scene();
       scene.marks.push_back({100 - kArm, 4 - kArm, 2 * kArm, 2 * kArm});
       return scene;
     }(),
     {{100, 4}, 20, 10},
     PlaceCase::Side::kNotAbove},
    {"a named line across the top: not above",
     Scene({}, {{{{60, 92}, {140, 92}}, kNamedLine}}),
     {{100, 100}, 20, 10},
     PlaceCase::Side::kNotAbove},
};

class PlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceTest, StandsWhereTheSceneLeavesRoom) {
  const PlaceCase& c = GetParam();
  const std::vector<PlaneRect> boxes = PlaceLabels({c.label}, c.scene);
  ASSERT_EQ(boxes.size(), 1u);
  const PlaneRect& box = boxes[0];
  EXPECT_TRUE(Within(box, c.scene.area));
  for (const PlaneRect& text : c.scene.taken)
    EXPECT_FALSE(Overlap(box, text));
  for (const PlaneRect& mark : c.scene.marks)
    EXPECT_FALSE(Overlap(box, mark));
  const PlanePoint at = c.label.at;
  switch (c.side) {
    case PlaceCase::Side::kAbove:
      EXPECT_LE(box.Bottom(), at.y - kArm);
      EXPECT_DOUBLE_EQ(box.left + box.width / 2.0, at.x);
      break;
    case PlaceCase::Side::kNotAbove:
      EXPECT_FALSE(box.Bottom() <= at.y - kArm && box.left + box.width / 2.0 == at.x);
      break;
  }
  for (const AvoidedLine& line : c.scene.lines)
    EXPECT_FALSE(Crosses(line.points, box)) << "over a named line with room elsewhere";
}

INSTANTIATE_TEST_SUITE_P(Table, PlaceTest, ::testing::ValuesIn(kPlaceCases), test_names::RowName());

TEST(PlaceLabels, ManyLabelsWithRoomNeverOverlapNorCoverAMark) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> where(20.0, 380.0);
  for (int scene = 0; scene < 200; ++scene) {
    LabelScene s = Scene();
    s.area = {0, 0, 400, 400};
    std::vector<LabelRequest> labels;
    for (int k = 0; k < 6; ++k) {
      const PlanePoint at{where(random), where(random)};
      labels.push_back({at, 24, 10});
      s.marks.push_back({at.x - kArm, at.y - kArm, 2 * kArm, 2 * kArm});
    }
    const std::vector<PlaneRect> boxes = PlaceLabels(labels, s);
    ASSERT_EQ(boxes.size(), labels.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_TRUE(Within(boxes[i], s.area));
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << "scene " << scene;
      for (const PlaneRect& mark : s.marks)
        EXPECT_FALSE(Overlap(boxes[i], mark)) << "scene " << scene;
    }
  }
}

TEST(PlaneRect, OverlapWithinAndCrossing) {
  const PlaneRect a{0, 0, 10, 10};
  EXPECT_TRUE(Overlap(a, {5, 5, 10, 10}));
  EXPECT_FALSE(Overlap(a, {10, 0, 5, 5}));  // an edge shared is no overlap
  EXPECT_TRUE(Within({2, 2, 8, 8}, a));
  EXPECT_FALSE(Within({2, 2, 9, 8}, a));
  EXPECT_TRUE(Crosses({{-5, 5}, {15, 5}}, a));
  EXPECT_FALSE(Crosses({{-5, 15}, {15, 15}}, a));
}

}  // namespace
}  // namespace geometry
