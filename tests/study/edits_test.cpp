// Every edit undoes to the study it found and redoes to the one it made:
// random sequences of every kind of edit, undone to the start and redone to
// the end, compared field by field after each step; and the plane edits row
// by row.

#include "study/edits.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "study_samples.h"
#include "test_names.h"

namespace study {
namespace {

using testing::RandomPlanes;
using testing::SameStudy;

/// One random edit that fits `study`.
std::unique_ptr<Command> RandomEdit(std::mt19937_64& random, const Study& study) {
  std::uniform_real_distribution<double> number(-100.0, 100.0);
  const std::size_t size = study.planes.size();
  switch (random() % 12) {
    case 11: {
      // An import that appends: the rows and how they were read, as one edit.
      std::vector<std::unique_ptr<Command>> both;
      both.push_back(InsertPlanes("Import", size, RandomPlanes(random, 3)));
      tables::PlaneReading reading;
      reading.delimiter = random() % 2 == 0 ? ';' : '\t';
      both.push_back(SetImportReading(reading));
      return Group("Import", std::move(both));
    }
    case 0: {
      Inputs inputs = InputsOf(study);
      const auto k = static_cast<std::size_t>(random() % engine::kInputCount);
      const double value = number(random);
      inputs.texts[k] = std::to_string(value);
      inputs.values[k] = random() % 4 == 0 ? std::nullopt : std::optional<double>(value);
      inputs.jointActive = !inputs.jointActive;
      inputs.azimuth = random() % 2 == 0 ? stress::Azimuth::kClockwiseFromNorth
                                         : stress::Azimuth::kCounterClockwiseFromEast;
      return SetInputs(inputs);
    }
    case 1: {
      const double value = number(random);
      return SetPorePressure(std::to_string(value), value);
    }
    case 2:
      return SetStressUnit(random() % 2 == 0 ? "MPa" : "psi");
    case 3: {
      BuilderTexts depth{true, {"1000", "25", "", "30", "20", "10", "45"}};
      return SetBuilders(depth, random() % 2 == 0, random() % 2 == 0, BuilderTexts{});
    }
    case 4: {
      if (random() % 3 == 0)
        return SetUncertainty(std::nullopt);
      engine::UncertaintySettings settings;
      settings.seed = random();
      settings[engine::Uncertain::kPorePressure] = {engine::Spread::Shape::kUniform, 1.5};
      return SetUncertainty(settings);
    }
    case 5:
      return SetMap(static_cast<engine::MapQuantity>(random() % 5));
    case 6:
      return SetColouring(random() % 2 == 0 ? "td" : "p_slip");
    case 7:
      return ReplacePlanes("Import", RandomPlanes(random, random() % 30), tables::PlaneReading{});
    case 8:
      return InsertPlanes("Paste", random() % (size + 1), RandomPlanes(random, 1 + random() % 5));
    case 9: {
      if (size == 0)
        return InsertPlanes("Add", 0, RandomPlanes(random, 1));
      std::vector<std::size_t> rows;
      for (std::size_t k = 0, n = 1 + random() % size; k < n; ++k)
        rows.push_back(random() % size);  // repeats and any order, as a selection gives
      return RemovePlanes(rows);
    }
    default: {
      if (size == 0)
        return InsertPlanes("Add", 0, RandomPlanes(random, 2));
      const engine::PlaneSet one = RandomPlanes(random, 1);
      std::string id(one.ids[0]);
      id += 'e';
      return EditPlane(random() % size, one.planes[0], id);
    }
  }
}

TEST(Edits, UndoToTheStartAndRedoToTheEndStepByStep) {
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937_64 random(seed);
    Study start;
    start.planes = RandomPlanes(random, 10);
    StudyModel model(start);
    std::vector<Study> after{start};
    for (int step = 0; step < 60; ++step) {
      model.Do(RandomEdit(random, model.Now()));
      after.push_back(model.Now());
    }
    for (std::size_t k = after.size() - 1; k > 0; --k) {
      model.Undo();
      ASSERT_TRUE(SameStudy(model.Now(), after[k - 1])) << "undo to step " << k - 1;
    }
    EXPECT_FALSE(model.Modified());
    for (std::size_t k = 1; k < after.size(); ++k) {
      model.Redo();
      ASSERT_TRUE(SameStudy(model.Now(), after[k])) << "redo to step " << k;
    }
  }
}

struct RowsCase {
  const char* name;
  std::vector<std::size_t> removed;
  const char* left;  ///< the ids left, in order
};

const RowsCase kRowsCases[] = {
    {"the first", {0}, "bcde"},
    {"the last", {4}, "abcd"},
    {"several in any order", {3, 0, 2}, "be"},
    {"a row twice", {1, 1}, "acde"},
    {"all", {4, 3, 2, 1, 0}, ""},
    {"a row beyond the set is ignored", {9, 2}, "abde"},
};

class RemoveRowsTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(RemoveRowsTest, LeavesTheOtherRowsAndPutsThemBack) {
  const RowsCase& c = GetParam();
  Study study;
  for (const char* id : {"a", "b", "c", "d", "e"})
    study.planes.push_back({10.0 * study.planes.size(), 20.0}, id);
  StudyModel model(study);
  model.Do(RemovePlanes(c.removed));
  std::string left;
  for (std::size_t i = 0; i < model.Now().planes.size(); ++i)
    left += model.Now().planes.ids[i];
  EXPECT_EQ(left, c.left);
  model.Undo();
  EXPECT_TRUE(SameStudy(model.Now(), study));
}

INSTANTIATE_TEST_SUITE_P(Table, RemoveRowsTest, ::testing::ValuesIn(kRowsCases),
                         test_names::RowName());

TEST(Edits, AReplacedSetIsKeptForUndoAndCounted) {
  std::mt19937_64 random(3);
  Study study;
  study.planes = RandomPlanes(random, 1000);
  const auto replace = ReplacePlanes("Import", RandomPlanes(random, 10), std::nullopt);
  // The command keeps the other set: at least its planes' bytes.
  EXPECT_GE(replace->Bytes(), 10 * sizeof(engine::Plane));
  StudyModel model(study);
  model.Do(ReplacePlanes("Import", RandomPlanes(random, 10), std::nullopt));
  EXPECT_EQ(model.Now().planes.size(), 10u);
  model.Undo();
  EXPECT_TRUE(SameStudy(model.Now(), study));
}

}  // namespace
}  // namespace study
