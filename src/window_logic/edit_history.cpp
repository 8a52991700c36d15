#include "window_logic/edit_history.h"

#include <utility>

namespace bosquell {

EditHistory::EditHistory(Recipe start) {
  Reset(std::move(start));
}

void EditHistory::Reset(Recipe start) {
  states_.assign(1, std::move(start));
  at_ = 0;
  saved_ = 0;
  ++version_;
}

void EditHistory::Record(Recipe next) {
  states_.resize(at_ + 1);
  if (saved_ && *saved_ > at_) saved_.reset();  // the saved state was undone and is now gone
  states_.push_back(std::move(next));
  ++at_;
  ++version_;
  if (states_.size() > kMaxStates) {
    states_.erase(states_.begin());
    --at_;
    if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional(*saved_ - 1);
  }
}

void EditHistory::Amend(Recipe next) {
  if (at_ == 0 || saved_ == at_) {
    Record(std::move(next));
    return;
  }
  states_.resize(at_ + 1);
  if (saved_ && *saved_ > at_) saved_.reset();
  states_[at_] = std::move(next);
}

bool EditHistory::Undo() {
  if (!CanUndo()) return false;
  --at_;
  ++version_;
  return true;
}

bool EditHistory::Redo() {
  if (!CanRedo()) return false;
  ++at_;
  ++version_;
  return true;
}

bool EditHistory::MergeWithPrevious() {
  if (at_ < 2) return false;
  states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(at_ - 1));
  if (saved_ && *saved_ + 1 == at_) {
    saved_.reset();  // the state dropped was the file's
  } else if (saved_ && *saved_ >= at_) {
    --*saved_;
  }
  --at_;
  ++version_;
  return true;
}

}  // namespace bosquell
