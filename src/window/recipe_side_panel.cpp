#include "window/recipe_side_panel.h"

#include <string_view>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "recipe/recipe_text.h"
#include "window_logic/map_logic.h"

namespace bosquell {
namespace {

// Del on the shape list deletes the selected area, as it does on the picture.
class DeleteKeyFilter final : public QObject {
 public:
  DeleteKeyFilter(std::function<void()> deleted, QObject* parent)
      : QObject(parent), deleted_(std::move(deleted)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
      deleted_();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> deleted_;
};

QString Text(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Utf8(const QString& text) {
  return text.toUtf8().toStdString();
}

void Describe(QWidget* control, const char* name, const char* accessibleName, const char* tip) {
  control->setObjectName(QString::fromLatin1(name));
  control->setAccessibleName(QString::fromUtf8(accessibleName));
  control->setToolTip(QString::fromUtf8(tip));
}

QPushButton* Button(const char* text, const char* name, const char* accessibleName, const char* tip,
                    QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  Describe(button, name, accessibleName, tip);
  button->setAutoDefault(false);
  return button;
}

QLabel* Label(const char* caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->setBuddy(buddy);
  return label;
}

QIcon Swatch(std::size_t layer) {
  const Rgb color = LayerColor(layer);
  QPixmap swatch(12, 12);
  swatch.fill(QColor(color.red, color.green, color.blue));
  return QIcon(swatch);
}

// Shows `rows` in `list` with the selected one current; nothing when they are shown already.
void FillList(QListWidget* list, const std::vector<ListRow>& rows,
              const std::vector<ListRow>& shown, bool swatches) {
  const QSignalBlocker quiet(list);
  if (rows.size() != shown.size() || list->count() != static_cast<int>(rows.size())) {
    list->clear();
    for (const ListRow& row : rows) list->addItem(Text(row.name));
  }
  int current = -1;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QListWidgetItem* item = list->item(static_cast<int>(i));
    if (i >= shown.size() || !(rows[i] == shown[i]) || item->text() != Text(rows[i].name)) {
      item->setText(Text(rows[i].name));
    }
    if (swatches && item->icon().isNull()) item->setIcon(Swatch(i));
    if (rows[i].selected) current = static_cast<int>(i);
  }
  if (list->currentRow() != current) list->setCurrentRow(current);
  if (current < 0) list->clearSelection();
}

}  // namespace

RecipeSidePanel::RecipeSidePanel(MapLogic& logic, QWidget* parent)
    : QWidget(parent), logic_(logic) {
  setObjectName(QStringLiteral("RecipePanel"));

  layers_ = new QListWidget(this);
  Describe(layers_, "Layers", "Layers",
           "The recipe's layers, drawn in this order; the selected one is edited");
  addLayer_ = Button("Add", "AddLayer", "Add layer", "Adds a layer after the last one", this);
  removeLayer_ =
      Button("Remove", "RemoveLayer", "Remove layer", "Removes the selected layer", this);
  layerUp_ = Button("Up", "LayerUp", "Move layer up", "Draws the selected layer earlier", this);
  layerDown_ =
      Button("Down", "LayerDown", "Move layer down", "Draws the selected layer later", this);

  mix_ = new QComboBox(this);
  Describe(mix_, "Mix", "Mix", "A built-in tree theme, or own type ids with weights");
  for (const std::string& choice : MixChoices()) mix_->addItem(Text(choice));
  mixRows_ = new QTableWidget(0, 2, this);
  Describe(mixRows_, "MixRows", "Own ids and weights",
           "Type ids and their weights: a type is drawn in proportion to its weight");
  mixRows_->setHorizontalHeaderLabels({QStringLiteral("Type id"), QStringLiteral("Weight")});
  mixRows_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  mixRows_->verticalHeader()->hide();
  mixRows_->setSelectionBehavior(QAbstractItemView::SelectRows);
  mixRows_->setSelectionMode(QAbstractItemView::SingleSelection);
  mixRows_->setTabKeyNavigation(false);
  newType_ = new QLineEdit(this);
  Describe(newType_, "NewTypeId", "New row's type id", "The type id of the row to add");
  newType_->setPlaceholderText(QStringLiteral("Type id"));
  newWeight_ = new QLineEdit(this);
  Describe(newWeight_, "NewWeight", "New row's weight", "Its weight; empty is 1");
  newWeight_->setPlaceholderText(QStringLiteral("Weight"));
  addRow_ = Button("Add row", "AddMixRow", "Add row", "Adds the type id with its weight", this);
  removeRow_ = Button("Remove row", "RemoveMixRow", "Remove row", "Removes the selected row", this);

  pattern_ = new QComboBox(this);
  Describe(pattern_, "Pattern", "Pattern",
           "uniform: anywhere in the area; even: no two closer than the spacing; clumped: "
           "around clump centres");
  for (const Pattern pattern : kPatterns) {
    const std::string_view name = PatternName(pattern);
    pattern_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
  count_ = field("Count", "Count", "How many objects the layer draws", PanelField::kCount);
  fill_ = new QCheckBox(QStringLiteral("&Fill"), this);
  Describe(fill_, "Fill", "Fill", "\"even\" only: as many objects as fit");
  keepClear_ =
      field("KeepClear", "Keep clear distance",
            "From the mission's objects and earlier layers', in user units; empty or 0 is off",
            PanelField::kKeepClear);
  spacing_ = field("Spacing", "Spacing distance",
                   "No two objects of the layer closer, in user units; empty or 0 is off",
                   PanelField::kSpacing);
  clumps_ = field("Clumps", "Clumps", "\"clumped\" only: how many clumps", PanelField::kClumps);
  clumpRadius_ = field("ClumpRadius", "Clump radius", "\"clumped\" only: in user units",
                       PanelField::kClumpRadius);
  shapes_ = new QListWidget(this);
  Describe(shapes_, "Shapes", "Shapes", "The current layer's areas; Del deletes the selected one");
  exclude_ = new QCheckBox(QStringLiteral("E&xclude"), this);
  Describe(exclude_, "ExcludeArea", "Exclude",
           "Checked, the selected area is kept clear; else objects are drawn in it");

  auto* layerButtons = new QHBoxLayout;
  for (QPushButton* button : {addLayer_, removeLayer_, layerUp_, layerDown_}) {
    layerButtons->addWidget(button);
  }
  auto* rowEntry = new QHBoxLayout;
  rowEntry->addWidget(newType_);
  rowEntry->addWidget(newWeight_);
  auto* rowButtons = new QHBoxLayout;
  rowButtons->addWidget(addRow_);
  rowButtons->addWidget(removeRow_);
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(count_, 1);
  countRow->addWidget(fill_);
  auto* fields = new QFormLayout;
  fields->addRow(Label("Patter&n:", pattern_, this), pattern_);
  fields->addRow(Label("&Count:", count_, this), countRow);
  fields->addRow(Label("&Keep clear:", keepClear_, this), keepClear_);
  fields->addRow(Label("S&pacing:", spacing_, this), spacing_);
  fields->addRow(Label("Cl&umps:", clumps_, this), clumps_);
  fields->addRow(Label("Clump ra&dius:", clumpRadius_, this), clumpRadius_);
  auto* mixRow = new QFormLayout;
  mixRow->addRow(Label("&Mix:", mix_, this), mix_);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(Label("&Layers:", layers_, this));
  column->addWidget(layers_, 1);
  column->addLayout(layerButtons);
  column->addLayout(mixRow);
  column->addWidget(Label("Own &ids:", mixRows_, this));
  column->addWidget(mixRows_, 1);
  column->addLayout(rowEntry);
  column->addLayout(rowButtons);
  column->addLayout(fields);
  column->addWidget(Label("&Shapes:", shapes_, this));
  column->addWidget(shapes_, 2);
  column->addWidget(exclude_);
  setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);

  // The lists take what height is left; the window need not grow to their default size.
  const int line = fontMetrics().height();
  for (const auto& [list, rows] :
       {std::pair<QAbstractScrollArea*, int>{layers_, 3}, {mixRows_, 3}, {shapes_, 4}}) {
    list->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    list->setMinimumHeight(line * (rows + 1));
  }
  // The table's rows as tight as a list's, and three of them under its header.
  const int tableRow = line + 6;
  mixRows_->verticalHeader()->setMinimumSectionSize(tableRow);
  mixRows_->verticalHeader()->setDefaultSectionSize(tableRow);
  mixRows_->setMinimumHeight(mixRows_->horizontalHeader()->sizeHint().height() + 3 * tableRow +
                             2 * mixRows_->frameWidth());

  const QList<QWidget*> order = tabOrder();
  for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);

  // Only the user's actions reach the logic: refill blocks the lists' and combos' signals.
  QObject::connect(layers_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) edit([&](RecipeEditor& editor) { editor.SetCurrentLayer(row); });
  });
  QObject::connect(addLayer_, &QPushButton::clicked, this,
                   [this] { edit([](RecipeEditor& editor) { editor.AddLayer(); }); });
  QObject::connect(removeLayer_, &QPushButton::clicked, this,
                   [this] { edit([](RecipeEditor& editor) { editor.RemoveLayer(); }); });
  QObject::connect(layerUp_, &QPushButton::clicked, this,
                   [this] { edit([](RecipeEditor& editor) { editor.MoveLayer(true); }); });
  QObject::connect(layerDown_, &QPushButton::clicked, this,
                   [this] { edit([](RecipeEditor& editor) { editor.MoveLayer(false); }); });
  QObject::connect(mix_, &QComboBox::activated, this, [this](int index) { mixChosen(index); });
  QObject::connect(mixRows_, &QTableWidget::itemChanged, this,
                   [this](QTableWidgetItem* item) { mixCellEdited(item->row()); });
  QObject::connect(addRow_, &QPushButton::clicked, this, [this] {
    const std::size_t before = logic_.Panel().mixRows.size();
    edit([this](RecipeEditor& editor) {
      editor.AddMixRow(Utf8(newType_->text()), Utf8(newWeight_->text()));
    });
    if (logic_.Panel().mixRows.size() > before) newType_->clear();
  });
  QObject::connect(removeRow_, &QPushButton::clicked, this, [this] {
    const int row = mixRows_->currentRow() >= 0 ? mixRows_->currentRow() : mixRows_->rowCount() - 1;
    if (row >= 0) edit([row](RecipeEditor& editor) { editor.RemoveMixRow(row); });
  });
  QObject::connect(pattern_, &QComboBox::activated, this, [this](int index) {
    edit([index](RecipeEditor& editor) { editor.SetPattern(kPatterns[index]); });
  });
  QObject::connect(fill_, &QCheckBox::clicked, this, [this](bool fill) {
    edit([fill](RecipeEditor& editor) { editor.SetFill(fill); });
  });
  QObject::connect(shapes_, &QListWidget::currentRowChanged, this, [this](int row) {
    edit([row](RecipeEditor& editor) {
      editor.Select(row >= 0 ? std::optional<std::size_t>(row) : std::nullopt);
    });
  });
  shapes_->installEventFilter(new DeleteKeyFilter(
      [this] { edit([](RecipeEditor& editor) { editor.DeleteSelected(); }); }, this));
  QObject::connect(exclude_, &QCheckBox::clicked, this, [this](bool exclude) {
    logic_.SetExclude(exclude);
    refill();
  });
  refill();
}

QList<QWidget*> RecipeSidePanel::tabOrder() const {
  return {layers_,    addLayer_,  removeLayer_, layerUp_,     layerDown_, mix_,    mixRows_,
          newType_,   newWeight_, addRow_,      removeRow_,   pattern_,   count_,  fill_,
          keepClear_, spacing_,   clumps_,      clumpRadius_, shapes_,    exclude_};
}

void RecipeSidePanel::edit(const std::function<void(RecipeEditor&)>& change) {
  logic_.EditRecipe(change);
  refill();  // a refused change puts the control back, also while the map is closed
}

QLineEdit* RecipeSidePanel::field(const char* name, const char* accessibleName, const char* tip,
                                  PanelField which) {
  auto* line = new QLineEdit(this);
  Describe(line, name, accessibleName, tip);
  QObject::connect(line, &QLineEdit::textEdited, this, [this, line, which](const QString& text) {
    typing_ = line;
    logic_.FieldTyped(which, Utf8(text));
    refill();
  });
  QObject::connect(line, &QLineEdit::editingFinished, this, [this, line] {
    if (typing_ != line) return;
    typing_ = nullptr;
    logic_.FieldLeft();
    refill();
  });
  return line;
}

void RecipeSidePanel::refillField(QLineEdit* line, const std::string& text, bool enabled) {
  line->setEnabled(enabled);
  if (line == typing_) return;
  if (!FieldShows(Utf8(line->text()), text)) line->setText(Text(text));
}

void RecipeSidePanel::refill() {
  const RecipePanel panel = logic_.Panel();
  const PanelEnabled& on = panel.enabled;
  refillLists(panel);
  refillMixRows(panel);
  {
    const QSignalBlocker quietMix(mix_);
    const QSignalBlocker quietPattern(pattern_);
    mix_->setCurrentIndex(mix_->findText(Text(panel.mixChoice)));
    pattern_->setCurrentIndex(static_cast<int>(panel.pattern));
  }
  fill_->setChecked(panel.fill);
  exclude_->setChecked(panel.selectedExcludes);
  refillField(count_, panel.count, on.layerFields && on.count);
  refillField(keepClear_, panel.keepClear, on.rules);
  refillField(spacing_, panel.spacing, on.rules);
  refillField(clumps_, panel.clumps, on.clumps);
  refillField(clumpRadius_, panel.clumpRadius, on.clumps);
  const bool ownIds = panel.mixChoice == kOwnIdsChoice;
  for (QWidget* control : {static_cast<QWidget*>(mix_), static_cast<QWidget*>(pattern_),
                           static_cast<QWidget*>(newType_), static_cast<QWidget*>(newWeight_),
                           static_cast<QWidget*>(addRow_)}) {
    control->setEnabled(on.layerFields);
  }
  mixRows_->setEnabled(ownIds);
  removeRow_->setEnabled(on.removeMixRow);
  fill_->setEnabled(on.fill);
  removeLayer_->setEnabled(on.removeLayer);
  layerUp_->setEnabled(on.layerUp);
  layerDown_->setEnabled(on.layerDown);
  shapes_->setEnabled(on.layerFields);
  exclude_->setEnabled(on.inclusion);
  shown_ = panel;
  filled_ = true;
}

void RecipeSidePanel::refillLists(const RecipePanel& panel) {
  FillList(layers_, panel.layers, filled_ ? shown_.layers : std::vector<ListRow>{}, true);
  FillList(shapes_, panel.shapes, filled_ ? shown_.shapes : std::vector<ListRow>{}, false);
}

void RecipeSidePanel::refillMixRows(const RecipePanel& panel) {
  // The cells are compared, not the last panel: a cell the recipe refused shows its value again.
  bool same = mixRows_->rowCount() == static_cast<int>(panel.mixRows.size());
  for (int row = 0; same && row < mixRows_->rowCount(); ++row) {
    const MixRowTexts& texts = panel.mixRows[static_cast<std::size_t>(row)];
    same = mixRows_->item(row, 0) != nullptr && mixRows_->item(row, 1) != nullptr &&
           FieldShows(Utf8(mixRows_->item(row, 0)->text()), texts.typeId) &&
           FieldShows(Utf8(mixRows_->item(row, 1)->text()), texts.weight);
  }
  if (same) return;
  const QSignalBlocker quiet(mixRows_);
  const int current = mixRows_->currentRow();
  mixRows_->setRowCount(static_cast<int>(panel.mixRows.size()));
  for (int row = 0; row < mixRows_->rowCount(); ++row) {
    const MixRowTexts& texts = panel.mixRows[static_cast<std::size_t>(row)];
    mixRows_->setItem(row, 0, new QTableWidgetItem(Text(texts.typeId)));
    mixRows_->setItem(row, 1, new QTableWidgetItem(Text(texts.weight)));
  }
  if (current >= 0 && current < mixRows_->rowCount()) mixRows_->setCurrentCell(current, 0);
}

void RecipeSidePanel::mixChosen(int index) {
  const std::string choice = Utf8(mix_->itemText(index));
  if (choice != kOwnIdsChoice) {
    edit([&](RecipeEditor& editor) { editor.SetTheme(choice); });
    return;
  }
  if (shown_.mixChoice == kOwnIdsChoice) return;
  // Own ids start from the theme's first type id; the user edits the row or adds more.
  const std::string first = FirstTypeIdOf(shown_.mixChoice);
  edit([&](RecipeEditor& editor) { editor.AddMixRow(first, "1"); });
}

void RecipeSidePanel::mixCellEdited(int row) {
  const QTableWidgetItem* type = mixRows_->item(row, 0);
  const QTableWidgetItem* weight = mixRows_->item(row, 1);
  if (type == nullptr || weight == nullptr) return;
  const std::string typeText = Utf8(type->text());
  const std::string weightText = Utf8(weight->text());
  edit([&](RecipeEditor& editor) {
    editor.EditMixRow(static_cast<std::size_t>(row), typeText, weightText);
  });
}

}  // namespace bosquell
