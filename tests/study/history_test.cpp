// The list of edits: Undo and Redo walk it, its clean mark is the unsaved
// marker (also when the saved state was undone past and replaced, or dropped
// with the oldest edits), it keeps at most its bounds, and observers hear
// every change.

#include "study/history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "study/edits.h"
#include "test_names.h"

namespace study {
namespace {

/// An edit that adds `amount` to the pore pressure and says it keeps `bytes`.
class Add final : public Command {
 public:
  explicit Add(double amount, std::size_t bytes = 16) : amount_(amount), bytes_(bytes) {}
  std::string Name() const override { return "Add " + std::to_string(static_cast<int>(amount_)); }
  Changes Redo(Study& s) override {
    s.porePressure += amount_;
    return kPorePressure;
  }
  Changes Undo(Study& s) override {
    s.porePressure -= amount_;
    return kPorePressure;
  }
  std::size_t Bytes() const override { return bytes_; }

 private:
  double amount_;
  std::size_t bytes_;
};

struct MarkerCase {
  const char* name;
  const char* steps;     ///< d do, u undo, r redo, s save, o open (reset)
  const char* modified;  ///< after each step: y or n
};

const MarkerCase kMarkerCases[] = {
    {"an edit is unsaved", "d", "y"},
    {"undone it is not", "du", "yn"},
    {"redone it is again", "dur", "yny"},
    {"saved then edited", "dsd", "yny"},
    {"saved then undone past the save", "ddsu", "yyny"},
    {"back at the save by redo", "ddsur", "yynyn"},
    {"the saved state replaced by a new edit", "ddsuud", "yynyyy"},
    {"and it cannot come back", "ddsuudu", "yynyyyy"},
    {"open is saved", "ddo", "yyn"},
    {"undo and redo with nothing to do", "urd", "nny"},
};

class MarkerTest : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(MarkerTest, FollowsTheCleanMark) {
  const MarkerCase& c = GetParam();
  StudyModel model;
  std::string seen;
  int amount = 1;
  for (const char* step = c.steps; *step != '\0'; ++step) {
    switch (*step) {
      case 'd':
        model.Do(std::make_unique<Add>(amount++));
        break;
      case 'u':
        model.Undo();
        break;
      case 'r':
        model.Redo();
        break;
      case 's':
        model.MarkSaved();
        break;
      case 'o':
        model.Reset(Study{});
        break;
    }
    seen += model.Modified() ? 'y' : 'n';
  }
  EXPECT_EQ(seen, c.modified);
}

INSTANTIATE_TEST_SUITE_P(Table, MarkerTest, ::testing::ValuesIn(kMarkerCases),
                         test_names::RowName());

TEST(StudyModel, UndoAndRedoWalkTheListInOrder) {
  StudyModel model;
  for (int k = 1; k <= 4; ++k)
    model.Do(std::make_unique<Add>(k));
  EXPECT_EQ(model.Now().porePressure, 10.0);
  EXPECT_EQ(model.UndoName(), "Add 4");
  model.Undo();
  model.Undo();
  EXPECT_EQ(model.Now().porePressure, 3.0);
  EXPECT_EQ(model.UndoName(), "Add 2");
  EXPECT_EQ(model.RedoName(), "Add 3");
  model.Redo();
  EXPECT_EQ(model.Now().porePressure, 6.0);
  model.Do(std::make_unique<Add>(100));  // the undone "Add 4" is gone
  EXPECT_FALSE(model.CanRedo());
  EXPECT_EQ(model.EditCount(), 4u);
  EXPECT_EQ(model.Now().porePressure, 106.0);
}

TEST(StudyModel, KeepsAtMostItsCountOfEditsOldestDroppedFirst) {
  StudyModel model;
  const int extra = 7;
  for (int k = 0; k < static_cast<int>(StudyModel::kMostEdits) + extra; ++k)
    model.Do(std::make_unique<Add>(1));
  EXPECT_EQ(model.EditCount(), StudyModel::kMostEdits);
  while (model.CanUndo())
    model.Undo();
  // The first `extra` edits can no longer be undone.
  EXPECT_EQ(model.Now().porePressure, extra);
  EXPECT_TRUE(model.Modified());  // the saved (empty) state was dropped
}

TEST(StudyModel, KeepsAtMostItsBytesButAlwaysTheNewestEdit) {
  StudyModel model;
  const std::size_t quarter = StudyModel::kMostBytes / 4;
  for (int k = 0; k < 6; ++k)
    model.Do(std::make_unique<Add>(1, quarter));
  EXPECT_EQ(model.EditCount(), 4u);
  model.Do(std::make_unique<Add>(1, 2 * StudyModel::kMostBytes));
  EXPECT_EQ(model.EditCount(), 1u);
  model.Undo();
  EXPECT_EQ(model.Now().porePressure, 6.0);
}

TEST(StudyModel, ObserversHearEveryChangeUntilForgotten) {
  StudyModel model;
  std::vector<Changes> heard;
  const int key = model.Observe([&](Changes c) { heard.push_back(c); });
  model.Do(std::make_unique<Add>(1));
  model.Undo();
  model.Redo();
  model.Do(SetMap(engine::MapQuantity::kDilationTendency));
  model.Reset(Study{});
  model.Forget(key);
  model.Do(std::make_unique<Add>(1));
  EXPECT_EQ(heard,
            (std::vector<Changes>{kPorePressure, kPorePressure, kPorePressure, kMap, kEverything}));
}

}  // namespace
}  // namespace study
