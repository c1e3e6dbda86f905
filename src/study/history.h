#pragma once
// The study and the one list of edits that changes it. Every edit is a
// Command that knows how to undo itself; the list's clean mark is the
// "unsaved" marker, so no edit can forget to set it. The list is bounded by
// count and by the memory its edits keep (a replaced plane set of a million
// planes keeps tens of megabytes), dropping the oldest edits first, as
// editors do.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "study/study.h"

namespace study {

/// One undoable edit of a study.
class Command {
 public:
  virtual ~Command() = default;
  /// The edit's name for Undo and Redo menus ("Import", "Paste", "Edit"...).
  virtual std::string Name() const = 0;
  /// Makes the edit (again); returns what it changed.
  virtual Changes Redo(Study& study) = 0;
  /// Takes the edit back; returns what it changed.
  virtual Changes Undo(Study& study) = 0;
  /// The bytes the edit keeps to undo or redo itself, for the list's bound.
  virtual std::size_t Bytes() const = 0;
};

class StudyModel {
 public:
  /// The most edits kept, and the most bytes they may keep between them;
  /// the newest edit is always kept, whatever its size.
  static constexpr std::size_t kMostEdits = 200;
  static constexpr std::size_t kMostBytes = std::size_t{256} << 20;

  explicit StudyModel(Study study = {});

  const Study& Now() const { return study_; }

  /// Makes `command`'s edit and puts it on the list (dropping the edits that
  /// were undone); observers hear what changed.
  void Do(std::unique_ptr<Command> command);
  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < edits_.size(); }
  /// The names of the edit Undo and Redo would take; empty when none.
  std::string UndoName() const;
  std::string RedoName() const;
  void Undo();
  void Redo();
  /// How many edits the list keeps, and how many of them are done.
  std::size_t EditCount() const { return edits_.size(); }
  std::size_t DoneCount() const { return done_; }

  /// Whether the study differs from the one last saved or opened: the list
  /// stands elsewhere than at its clean mark (or the mark was dropped with
  /// the oldest edits).
  bool Modified() const { return clean_ != done_; }
  /// The study as it stands was saved.
  void MarkSaved() { clean_ = done_; }
  /// Puts `study` in place of the whole study (New, Open): the list is
  /// emptied and the study counts as saved.
  void Reset(Study study);

  /// `observer(changes)` is called after every edit, undo, redo and reset.
  /// Returns a key for Forget.
  using Observer = std::function<void(Changes)>;
  int Observe(Observer observer);
  void Forget(int key);

 private:
  void Tell(Changes changes);
  /// Drops the oldest edits beyond the bounds.
  void Bound();

  Study study_;
  std::vector<std::unique_ptr<Command>> edits_;
  std::size_t done_ = 0;  ///< edits_[0, done_) are done
  /// done_ at the last save; empty once that state's edits were dropped.
  std::optional<std::size_t> clean_ = 0;
  std::vector<std::pair<int, Observer>> observers_;
  int nextKey_ = 0;
};

}  // namespace study
