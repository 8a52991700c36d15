#pragma once

#include <functional>

#include <QList>
#include <QWidget>

#include "window_logic/recipe_panel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace bosquell {

class MapLogic;

// The column beside the map's picture: the recipe's layers, and the current layer's mix,
// pattern, count, rules and shapes. The controls show MapLogic::Panel() after every change
// (refill); the user's edits go to the logic, and come back through it, never straight into
// other controls.
class RecipeSidePanel final : public QWidget {
 public:
  RecipeSidePanel(MapLogic& logic, QWidget* parent);

  // Shows the logic's panel. A field the user is typing in keeps the text until the user leaves
  // it; then a text the recipe did not take gives way to the recipe's value.
  void refill();
  // The panel's controls in tab order, for the window to chain with its own.
  QList<QWidget*> tabOrder() const;

 private:
  void edit(const std::function<void(RecipeEditor&)>& change);
  // A number field whose text goes to the logic as it is typed, and that shows the model's
  // value again when left.
  QLineEdit* field(const char* name, const char* accessibleName, const char* tip, PanelField which);
  void refillField(QLineEdit* field, const std::string& text, bool enabled);
  void refillLists(const RecipePanel& panel);
  void refillMixRows(const RecipePanel& panel);
  void mixChosen(int index);
  void mixCellEdited(int row);

  MapLogic& logic_;
  RecipePanel shown_;
  bool filled_ = false;
  QLineEdit* typing_ = nullptr;  // the field the user is typing in
  QListWidget* layers_ = nullptr;
  QPushButton* addLayer_ = nullptr;
  QPushButton* removeLayer_ = nullptr;
  QPushButton* layerUp_ = nullptr;
  QPushButton* layerDown_ = nullptr;
  QComboBox* mix_ = nullptr;
  QTableWidget* mixRows_ = nullptr;
  QLineEdit* newType_ = nullptr;
  QLineEdit* newWeight_ = nullptr;
  QPushButton* addRow_ = nullptr;
  QPushButton* removeRow_ = nullptr;
  QComboBox* pattern_ = nullptr;
  QLineEdit* count_ = nullptr;
  QCheckBox* fill_ = nullptr;
  QLineEdit* keepClear_ = nullptr;
  QLineEdit* spacing_ = nullptr;
  QLineEdit* clumps_ = nullptr;
  QLineEdit* clumpRadius_ = nullptr;
  QListWidget* shapes_ = nullptr;
  QCheckBox* exclude_ = nullptr;
};

}  // namespace bosquell
