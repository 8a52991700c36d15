#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "win32/recipe_side_panel.h"
#include "win32/scene_painter.h"
#include "window_logic/map_view.h"
#include "window_logic/recipe_document.h"

namespace bosquell {
class MapLogic;
}

namespace bosquell::win32 {

// The map window's controls, by their ids, in tab order; the side panel's come after the
// picture (RecipeSidePanel), KeepClear and Spacing among them.
enum class MapControlId : int {
  Picture = 300,
  KeepClearLabel,
  KeepClear,
  SpacingLabel,
  Spacing,
  Reroll,
  OpacityLabel,
  Opacity,
  Status,
};

// The commands of the map window's "&Recipe" menu.
enum class MapMenuId : int {
  ChooseBackground = 340,
  AlignBackground,
  BackgroundCorners,
  TakeBackRun = 390,  // the last item, whatever comes before it
};

// The recipe's file items at the start of the "&Recipe" menu, and the "&Edit" and "&Tools"
// menus.
enum class MapRecipeId : int {
  NewRecipe = 360,
  OpenRecipe,
  SaveRecipe,
  SaveRecipeAs,
  Undo,
  Redo,
  SelectTool,  // the tools in ShapeTool's order
  RectangleTool,
  PolygonTool,
  CircleTool,
  CorridorTool,
  Include,
  Exclude,
};

// The map window, "Bosquell map": a resizable top-level window with the "&Recipe", "&Edit" and
// "&Tools" menus, the picture with the recipe's side panel beside it, the "Reroll" button, the
// background's opacity and a status line; its title names the recipe's file. It paints what the map
// logic decides and forwards the user's mouse, keys and edits to it. Created the first time it is
// opened; closing it only hides it, after asking about unsaved changes of the recipe.
class MapWindow final : public MapView {
 public:
  // `mainWindow` gets the activation back when the map closes.
  MapWindow(HINSTANCE instance, HWND mainWindow);
  ~MapWindow() override;
  MapWindow(const MapWindow&) = delete;
  MapWindow& operator=(const MapWindow&) = delete;

  void Connect(MapLogic* logic) {
    logic_ = logic;
    panel_.Connect(logic);
  }

  // How the window asks for a background picture file (its UTF-8 path) and for a map position
  // ("x, y" in user units, UTF-8) of a point picked on it or of its corners, with the prompt to
  // show; each gives nothing when the user cancels. Tests answer in place of the modal boxes.
  struct Dialogs {
    std::function<std::optional<std::string>(HWND owner)> pictureFile;
    std::function<std::optional<std::string>(HWND owner, const std::string& prompt)> mapPosition;
  };
  void SetDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
  // The boxes of "&Take back a run…": the seed typed (UTF-8; nothing cancels), yes or no to the
  // question, and the message at the end.
  struct TakeBackDialogs {
    std::function<std::optional<std::string>(HWND owner)> seed;
    std::function<bool(HWND owner, const std::string& question)> confirm;
    std::function<void(HWND owner, const std::string& text)> message;
  };
  void SetTakeBackDialogs(TakeBackDialogs dialogs) { takeBackDialogs_ = std::move(dialogs); }

  // How the window asks about the recipe's file (UTF-8 paths): the file to open and the file to
  // save as (nothing when the user cancels), what to do with unsaved changes, whether to
  // overwrite a file another program changed, and the box that says why a file could not be
  // read or written.
  struct RecipeDialogs {
    std::function<std::optional<std::string>(HWND owner)> openFile;
    std::function<std::optional<std::string>(HWND owner)> saveFile;
    std::function<UnsavedAnswer(HWND owner, const std::string& title)> unsaved;
    std::function<bool(HWND owner, const std::string& path)> overwriteChanged;
    std::function<void(HWND owner, const std::string& text)> problem;
  };
  void SetRecipeDialogs(RecipeDialogs dialogs) { recipeDialogs_ = std::move(dialogs); }
  // The recipe file's questions for the MapLogic, asked through the dialogs above.
  bosquell::DocumentPrompts DocumentPrompts();
  // Ctrl+O and Ctrl+S, for the message loop to translate while the map has the focus.
  HACCEL Accelerators() const { return accelerators_; }

  // Null until the window is first opened.
  HWND Handle() const { return window_; }
  HWND Control(MapControlId id) const;

  void Open() override;
  void Close() override;
  void Refresh() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandlePictureMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Create();
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void Layout();
  void OnCommand(int id, int code);
  // The commands of the recipe's file items and of the "&Edit" and "&Tools" menus.
  bool OnRecipeCommand(int id);
  void ShowRecipeProblem(bool done);
  // Checks and enables the menus' items as the editor stands, when a menu opens.
  void UpdateMenuItems(HMENU menu);
  void UserClosed();
  void RestoreFocus();
  void PaintPicture();
  bool OnPictureKey(WPARAM key);
  bool OnPictureCharacter(wchar_t character);
  void OnWheel(WPARAM wParam, LPARAM lParam);
  // Asks for the map position of the spot picked on the picture, once the click is over.
  void AskAlignmentPosition();
  void TakeRunBack();

  HINSTANCE instance_;
  HWND mainWindow_;
  MapLogic* logic_ = nullptr;
  HWND window_ = nullptr;
  HWND picture_ = nullptr;
  HWND lastFocus_ = nullptr;  // where the focus was when the window was last active
  HFONT controlFont_ = nullptr;
  HFONT pictureFont_ = nullptr;
  std::unique_ptr<SceneBitmap> buffer_;
  int quiet_ = 0;  // > 0 while the window itself sets a field's text
  bool trackingLeave_ = false;
  Dialogs dialogs_;
  TakeBackDialogs takeBackDialogs_;
  RecipeDialogs recipeDialogs_;
  HACCEL accelerators_ = nullptr;
  RecipeSidePanel panel_;
  bool askingPosition_ = false;
};

}  // namespace bosquell::win32
