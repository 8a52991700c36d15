#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include <QString>

#include "window/message_box.h"
#include "window_logic/map_view.h"
#include "window_logic/recipe_document.h"

class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class QWidget;

namespace bosquell {

class MapCanvas;
class MapFrame;
class MapLogic;
class RecipeSidePanel;

// The map window as Qt shows it: the "&Recipe", "&Edit" and "&Tools" menus, the picture with
// the recipe's side panel beside it (RecipeSidePanel), the "Reroll" button, the background's
// opacity and the status line, in a modeless, resizable window titled with the recipe's file and
// "Bosquell map". The window is built the first time it opens, so that a program that never shows
// the map never pays for it. Everything it shows comes from the MapLogic, and every event goes
// there.
class MapWindow final : public MapView {
 public:
  // `mainWindow` becomes the active window again when the map closes.
  explicit MapWindow(QWidget* mainWindow);
  ~MapWindow() override;
  MapWindow(const MapWindow&) = delete;
  MapWindow& operator=(const MapWindow&) = delete;

  // The logic the window shows and forwards to; set once, before the window first opens.
  void setLogic(MapLogic& logic) { logic_ = &logic; }

  // How the window asks for a background picture file and for a map position ("x, y" in user
  // units) of a point picked on it or of its corners; each gives nothing when the user cancels.
  // Tests answer in place of the modal dialogs.
  struct Dialogs {
    std::function<QString(QWidget* parent)> pictureFile;
    std::function<std::optional<QString>(QWidget* parent, const QString& prompt)> mapPosition;
  };
  void setDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
  // The boxes of "&Take back a run…": the seed typed (nothing cancels), yes or no to the
  // question, and the message at the end.
  struct TakeBackDialogs {
    std::function<std::optional<QString>(QWidget* parent)> seed;
    std::function<bool(QWidget* parent, const QString& question)> confirm;
    MessagePresenter message;
  };
  void setTakeBackDialogs(TakeBackDialogs dialogs) { takeBackDialogs_ = std::move(dialogs); }

  // How the window asks about the recipe's file: the file to open and the file to save as
  // (empty when the user cancels), what to do with unsaved changes, whether to overwrite a file
  // another program changed, and the box that says why a file could not be read or written.
  struct RecipeDialogs {
    std::function<QString(QWidget* parent)> openFile;
    std::function<QString(QWidget* parent)> saveFile;
    std::function<UnsavedAnswer(QWidget* parent, const QString& title)> unsaved;
    std::function<bool(QWidget* parent, const QString& path)> overwriteChanged;
    std::function<void(QWidget* parent, const QString& text)> problem;
  };
  void setRecipeDialogs(RecipeDialogs dialogs) { recipeDialogs_ = std::move(dialogs); }
  // The recipe file's questions for the MapLogic, asked through the dialogs above.
  DocumentPrompts documentPrompts();

  // The top-level window, or nullptr before it first opened.
  QWidget* window() const;

  // MapView.
  void Open() override;
  void Close() override;
  void Refresh() override;

 private:
  void build();
  void buildRecipeMenu();
  void addTakeBackItem(QMenu* recipe);
  // "&New", "&Open…", "&Save" and "Save &As…", at the start of the "&Recipe" menu.
  void addRecipeFileItems(QMenu* recipe);
  void openRecipe();
  void saveRecipeAs();
  // Says why the last open or save failed, if it did.
  void showRecipeProblem(bool done);
  // The "&Edit" and "&Tools" menus: undo and redo, the drawing tools and include or exclude.
  void buildEditMenu(QMenu* edit);
  void buildToolsMenu(QMenu* tools);
  // Checks and enables the menus' items as the editor stands, when a menu opens.
  void updateEditItems();
  // Asks for the map position of the spot picked on the picture, once the click has ended.
  void askAlignmentPosition();

  QWidget* mainWindow_;
  MapLogic* logic_ = nullptr;
  std::unique_ptr<MapFrame> frame_;
  MapCanvas* canvas_ = nullptr;
  RecipeSidePanel* panel_ = nullptr;
  QPushButton* reroll_ = nullptr;
  QSlider* opacity_ = nullptr;
  QLabel* status_ = nullptr;
  Dialogs dialogs_;
  TakeBackDialogs takeBackDialogs_;
  RecipeDialogs recipeDialogs_;
  QMenu* edit_ = nullptr;
  QActionGroup* tools_ = nullptr;
  QActionGroup* inclusion_ = nullptr;
  bool askingPosition_ = false;
};

}  // namespace bosquell
