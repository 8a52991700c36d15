#include "window_logic/recipe_document.h"

#include <utility>
#include <variant>

#include "common/utf8_path.h"
#include "files/atomic_text_file.h"
#include "recipe/background_image_path.h"
#include "recipe/recipe_reader.h"
#include "recipe/recipe_text.h"

namespace bosquell {

RecipeDocument::RecipeDocument(Recipe start, DocumentPrompts prompts)
    : editor_(std::move(start)), prompts_(std::move(prompts)) {}

bool RecipeDocument::MayDropChanges() {
  if (!Dirty()) return true;
  switch (prompts_.askUnsaved(Title())) {
    case UnsavedAnswer::kSave:
      return Save();
    case UnsavedAnswer::kDiscard:
      return true;
    case UnsavedAnswer::kCancel:
      break;
  }
  return false;
}

bool RecipeDocument::New(Recipe start) {
  if (!MayDropChanges()) return false;
  editor_.Reset(std::move(start));
  path_.clear();
  stamp_ = {};
  problem_.clear();
  return true;
}

bool RecipeDocument::Open(const std::string& path) {
  // The stamp from before the read: a write while reading shows as a change later.
  const MissionStamp stamp = StampOf(path);
  std::variant<std::string, Recipe> read = ReadRecipe(path);
  if (auto* problem = std::get_if<std::string>(&read)) {
    problem_ = std::move(*problem);
    return false;
  }
  editor_.Reset(WithAbsoluteImage(std::move(std::get<Recipe>(read)), path));
  path_ = path;
  stamp_ = stamp;
  problem_.clear();
  return true;
}

bool RecipeDocument::Save() {
  if (path_.empty()) {
    const std::optional<std::string> chosen = prompts_.chooseSavePath();
    return chosen && SaveAs(*chosen);
  }
  if (StampOf(path_) != stamp_ && !prompts_.askOverwriteChanged(path_)) {
    problem_ = "Not saved: " + path_ + " was changed by another program";
    return false;
  }
  return SaveAs(path_);
}

bool RecipeDocument::SaveAs(const std::string& path) {
  const std::string refused = CheckRecipe(Current());
  if (!refused.empty()) {
    problem_ = "Not saved: " + refused;
    return false;
  }
  const std::string failed =
      WriteFileAtomically(PathFromUtf8(path), RecipeText(WithImageRelativeTo(Current(), path)));
  if (!failed.empty()) {
    problem_ = "Not saved: " + failed;
    return false;
  }
  path_ = path;
  stamp_ = StampOf(path);
  editor_.History().MarkSaved();
  problem_.clear();
  return true;
}

std::string RecipeDocument::Title() const {
  const std::size_t slash = path_.find_last_of("/\\");
  std::string title = path_.empty() ? "Untitled" : path_.substr(slash + 1);
  return Dirty() ? title + "*" : title;
}

}  // namespace bosquell
