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
}

void EditHistory::Record(Recipe next) {
  states_.resize(at_ + 1);
  if (saved_ && *saved_ > at_) saved_.reset();  // the saved state was undone and is now gone
  states_.push_back(std::move(next));
  ++at_;
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
  return true;
}

bool EditHistory::Redo() {
  if (!CanRedo()) return false;
  ++at_;
  return true;
}

}  // namespace bosquell
