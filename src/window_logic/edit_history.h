#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "recipe/recipe.h"

namespace bosquell {

// Undo and redo over whole recipes: each edit keeps a copy of the recipe it made. Recipes drawn
// by hand are a few kilobytes, so copies cost less than undoing each kind of edit by hand would
// in code. "Dirty" is measured against the recipe last opened or saved.
class EditHistory {
 public:
  // Enough for an afternoon's drawing; the oldest states go first.
  static constexpr std::size_t kMaxStates = 500;

  explicit EditHistory(Recipe start = {});

  // Starts again from a recipe opened or made new: nothing to undo, and not dirty.
  void Reset(Recipe start);
  // An edit: `next` becomes current, and whatever was undone before it is gone.
  void Record(Recipe next);
  // An edit that continues the last one (a slider dragged on): it takes the last one's place,
  // unless that one is saved or is where the history starts.
  void Amend(Recipe next);
  bool CanUndo() const { return at_ > 0; }
  bool CanRedo() const { return at_ + 1 < states_.size(); }
  // False when there is nothing to undo or redo.
  bool Undo();
  bool Redo();

  // The current state takes the place of the one before it, so that one undo takes back both
  // edits: what is typed into a field, keystroke by keystroke, is undone as one. False when
  // the state before is the first one.
  bool MergeWithPrevious();
  // Changes with every edit, undo, redo and reset: whether anything happened between two
  // moments.
  std::size_t Version() const { return version_; }

  const Recipe& Current() const { return states_[at_]; }
  // The current recipe was saved under its file name.
  void MarkSaved() { saved_ = at_; }
  bool Dirty() const { return saved_ != at_; }

 private:
  std::vector<Recipe> states_;
  std::size_t at_ = 0;
  // The state that equals the file; none once that state was dropped.
  std::optional<std::size_t> saved_ = 0;
  std::size_t version_ = 0;
};

}  // namespace bosquell
