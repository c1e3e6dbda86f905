#include "study/history.h"

#include <algorithm>
#include <utility>

namespace study {

StudyModel::StudyModel(Study study) : study_(std::move(study)) {}

void StudyModel::Do(std::unique_ptr<Command> command) {
  const Changes changes = command->Redo(study_);
  edits_.resize(done_);  // the undone edits cannot be redone after a new one
  if (clean_ && *clean_ > done_)
    clean_.reset();  // the saved state was among them
  edits_.push_back(std::move(command));
  ++done_;
  Bound();
  Tell(changes);
}

std::string StudyModel::UndoName() const {
  return CanUndo() ? edits_[done_ - 1]->Name() : std::string();
}

std::string StudyModel::RedoName() const {
  return CanRedo() ? edits_[done_]->Name() : std::string();
}

void StudyModel::Undo() {
  if (!CanUndo())
    return;
  --done_;
  Tell(edits_[done_]->Undo(study_));
}

void StudyModel::Redo() {
  if (!CanRedo())
    return;
  const Changes changes = edits_[done_]->Redo(study_);
  ++done_;
  Tell(changes);
}

void StudyModel::Reset(Study study) {
  study_ = std::move(study);
  edits_.clear();
  done_ = 0;
  clean_ = 0;
  Tell(kEverything);
}

int StudyModel::Observe(Observer observer) {
  observers_.emplace_back(nextKey_, std::move(observer));
  return nextKey_++;
}

void StudyModel::Forget(int key) {
  observers_.erase(std::remove_if(observers_.begin(), observers_.end(),
                                  [key](const auto& o) { return o.first == key; }),
                   observers_.end());
}

void StudyModel::Tell(Changes changes) {
  // A copy: an observer may observe or forget while it is told.
  const auto observers = observers_;
  for (const auto& [key, observer] : observers)
    observer(changes);
}

void StudyModel::Bound() {
  std::size_t bytes = 0;
  for (const auto& edit : edits_)
    bytes += edit->Bytes();
  std::size_t dropped = 0;
  while (edits_.size() - dropped > 1 &&
         (edits_.size() - dropped > kMostEdits || bytes > kMostBytes)) {
    bytes -= edits_[dropped]->Bytes();
    ++dropped;
  }
  if (dropped == 0)
    return;
  edits_.erase(edits_.begin(), edits_.begin() + static_cast<std::ptrdiff_t>(dropped));
  done_ -= dropped;
  if (clean_ && *clean_ < dropped)
    clean_.reset();  // the saved state can no longer be reached by Undo
  else if (clean_)
    *clean_ -= dropped;
}

}  // namespace study
