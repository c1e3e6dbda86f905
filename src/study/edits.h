#pragma once
// The edits of a study, each an undoable Command (study/history.h): the
// inputs as a Calculate reads them, the pore pressure, the unit, the
// builders' settings, the uncertainty, the map, the dots' colouring, and the
// plane set (replaced, rows inserted, removed or edited). Each keeps what it
// needs to undo itself and nothing more: a row edit keeps one row, a
// removal the removed rows, a replacement the other set.
// Conventions as in study/study.h.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "study/history.h"

namespace study {

/// The inputs a pass reads, as the window holds them.
struct Inputs {
  std::array<std::string, engine::kInputCount> texts;
  std::array<std::optional<double>, engine::kInputCount> values;
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  bool jointActive = false;
  bool cosinesShown = false;

  bool operator==(const Inputs&) const = default;
};
/// The inputs of `study`.
Inputs InputsOf(const Study& study);

std::unique_ptr<Command> SetInputs(Inputs inputs);
std::unique_ptr<Command> SetPorePressure(std::string text, double value);
std::unique_ptr<Command> SetStressUnit(std::string unit);
/// The builders' settings: their boxes as typed and the depth builder's choices.
std::unique_ptr<Command> SetBuilders(BuilderTexts depth, bool depthInPsi, bool svFromDensity,
                                     BuilderTexts principal);
std::unique_ptr<Command> SetUncertainty(std::optional<engine::UncertaintySettings> settings);
std::unique_ptr<Command> SetMap(engine::MapQuantity map);
std::unique_ptr<Command> SetColouring(std::string name);

/// Replaces the plane set (an import that replaces, Open of a set), and with
/// it how it was read.
std::unique_ptr<Command> ReplacePlanes(std::string name, engine::PlaneSet planes,
                                       std::optional<tables::PlaneReading> reading);
/// Inserts `planes` before row `at` (at most the set's size; append, paste, add).
std::unique_ptr<Command> InsertPlanes(std::string name, std::size_t at, engine::PlaneSet planes);
/// Removes the rows `rows` (any order, no repeats, each below the set's size).
std::unique_ptr<Command> RemovePlanes(std::vector<std::size_t> rows);
/// Puts `plane` and `id` in row `row` (below the set's size).
std::unique_ptr<Command> EditPlane(std::size_t row, const engine::Plane& plane, std::string id);

/// How the set was last imported (kept for the next import and in the case).
std::unique_ptr<Command> SetImportReading(std::optional<tables::PlaneReading> reading);

/// Several edits as one, named `name`: done in order, undone in reverse.
std::unique_ptr<Command> Group(std::string name, std::vector<std::unique_ptr<Command>> edits);

/// The bytes a plane set keeps (its planes and ids), for the history's bound.
std::size_t BytesOf(const engine::PlaneSet& planes);

}  // namespace study
