#pragma once

#include <functional>
#include <optional>
#include <string>

#include "files/mission_stamp.h"
#include "recipe/recipe.h"
#include "window_logic/recipe_editor.h"

namespace bosquell {

// What the user answers when changes would be lost.
enum class UnsavedAnswer { kSave, kDiscard, kCancel };

// The questions the map's recipe file asks, put in by the window (message boxes, a file dialog)
// and by tests (answers given in advance), so that nothing here waits on a user.
struct DocumentPrompts {
  // The recipe named has unsaved changes: save them, drop them, or keep working.
  std::function<UnsavedAnswer(const std::string& title)> askUnsaved;
  // The file was changed by another program since it was opened or saved: overwrite it?
  std::function<bool(const std::string& path)> askOverwriteChanged;
  // The path to save a recipe that has none yet under (Save As's dialog); nothing cancels.
  std::function<std::optional<std::string>()> chooseSavePath;
};

// The map's recipe as a file: the editor over it, its path, and whether the file on disk is
// still the one opened. Paths are UTF-8. A recipe is saved as RecipeText writes it, so what the
// map saves, the command line's --recipe reads back equal. The background picture's path is
// held absolute, so that undo and Save As elsewhere keep finding it, and written relative to the
// recipe file's folder.
class RecipeDocument {
 public:
  RecipeDocument(Recipe start, DocumentPrompts prompts);

  RecipeEditor& Editor() { return editor_; }
  const RecipeEditor& Editor() const { return editor_; }
  const Recipe& Current() const { return editor_.Current(); }

  // Asks about unsaved changes, and saves them when the user says so: true when what is there
  // may go. Call it before a file dialog for Open, and when the map or the program closes.
  bool MayDropChanges();
  // "&New": asks about unsaved changes, then starts over from `start` (the main window's boxes).
  bool New(Recipe start);
  // Opens the recipe file; one that fails to read leaves everything as it was and gives why
  // (file, line, field). Does not ask: MayDropChanges comes before the file dialog.
  bool Open(const std::string& path);
  // "&Save": under the file's name, asking before overwriting a file changed since; a recipe
  // without a name asks for one.
  bool Save();
  // "Save &As…": the dialog has asked about replacing another file.
  bool SaveAs(const std::string& path);

  const std::string& Path() const { return path_; }
  bool Dirty() const { return editor_.History().Dirty(); }
  // The file's name, or "Untitled", with a "*" while changes are unsaved.
  std::string Title() const;
  // Why the last Open or Save failed; empty after one that worked.
  const std::string& Problem() const { return problem_; }

 private:
  RecipeEditor editor_;
  DocumentPrompts prompts_;
  std::string path_;
  MissionStamp stamp_;  // of the file when opened or last saved
  std::string problem_;
};

}  // namespace bosquell
