#include "window/map_window.h"

#include <cmath>
#include <functional>
#include <utility>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "window/app_icon.h"
#include "window/background_corners_item.h"
#include "window/map_canvas.h"
#include "window/message_box.h"
#include "window/window_beside.h"
#include "window/recipe_side_panel.h"
#include "window_logic/map_logic.h"
#include "window_logic/window_texts.h"

namespace bosquell {

// The top-level widget: tells the logic when the user closes it with the title bar or Esc, and
// when it becomes the active window.
class MapFrame final : public QWidget {
 public:
  MapFrame(std::function<bool()> mayClose, std::function<void()> closed,
           std::function<void()> activated)
      : mayClose_(std::move(mayClose)),
        closed_(std::move(closed)),
        activated_(std::move(activated)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    // Unsaved changes of the recipe are asked about first; "Cancel" keeps the map open.
    if (!mayClose_()) {
      event->ignore();
      return;
    }
    event->accept();  // hides the window; it stays built for the next time
    closed_();
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activated_();
  }

 private:
  std::function<bool()> mayClose_;
  std::function<void()> closed_;
  std::function<void()> activated_;
};

namespace {

QLabel* FieldLabel(const char* caption, QWidget* field, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->setBuddy(field);
  return label;
}

QString AskPictureFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Background picture"), QString(),
                                      QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp);;"
                                                     "All files (*)"));
}

std::optional<QString> AskMapPosition(QWidget* parent, const QString& prompt) {
  bool given = false;
  const QString text = QInputDialog::getText(parent, QStringLiteral("Background picture"), prompt,
                                             QLineEdit::Normal, QString(), &given);
  if (!given) return std::nullopt;
  return text;
}

std::optional<QString> AskSeed(QWidget* parent) {
  bool given = false;
  const QString text = QInputDialog::getText(
      parent, QStringLiteral("Take back a run"),
      QStringLiteral("The seed of the run to take back from the mission the map shows:"),
      QLineEdit::Normal, QString(), &given);
  if (!given) return std::nullopt;
  return text;
}

bool AskTakeBack(QWidget* parent, const QString& question) {
  QString shown = question;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationName), shown,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setTextFormat(Qt::PlainText);  // paths may hold '<' or '&'
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

const QString kRecipeFilter = QStringLiteral("Recipes (*.toml);;All files (*)");

QString AskRecipeToOpen(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Open recipe"), QString(),
                                      kRecipeFilter);
}

QString AskRecipeToSave(QWidget* parent) {
  return QFileDialog::getSaveFileName(parent, QStringLiteral("Save recipe as"), QString(),
                                      kRecipeFilter);
}

UnsavedAnswer AskUnsaved(QWidget* parent, const QString& title) {
  switch (QMessageBox::question(
      parent, QString::fromUtf8(kMapWindowName),
      QStringLiteral("The recipe %1 has unsaved changes. Save them?").arg(title),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save)) {
    case QMessageBox::Save:
      return UnsavedAnswer::kSave;
    case QMessageBox::Discard:
      return UnsavedAnswer::kDiscard;
    default:
      return UnsavedAnswer::kCancel;
  }
}

bool AskOverwriteChanged(QWidget* parent, const QString& path) {
  return QMessageBox::question(
             parent, QString::fromUtf8(kMapWindowName),
             QStringLiteral("%1 was changed by another program since it was opened. Overwrite it?")
                 .arg(path),
             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

MapWindow::MapWindow(QWidget* mainWindow)
    : mainWindow_(mainWindow),
      dialogs_{AskPictureFile, AskMapPosition},
      takeBackDialogs_{AskSeed, AskTakeBack, ShowMessageBox},
      recipeDialogs_{AskRecipeToOpen, AskRecipeToSave, AskUnsaved, AskOverwriteChanged,
                     ShowMessageBox} {}

DocumentPrompts MapWindow::documentPrompts() {
  // The dialogs are looked up when asked, so that tests may put theirs in later.
  return {[this](const std::string& title) {
            return recipeDialogs_.unsaved(frame_.get(), QString::fromStdString(title));
          },
          [this](const std::string& path) {
            return recipeDialogs_.overwriteChanged(frame_.get(), QString::fromStdString(path));
          },
          [this]() -> std::optional<std::string> {
            const QString file = recipeDialogs_.saveFile(frame_.get());
            if (file.isEmpty()) return std::nullopt;
            return file.toUtf8().toStdString();
          }};
}

MapWindow::~MapWindow() = default;

QWidget* MapWindow::window() const {
  return frame_.get();
}

void MapWindow::build() {
  frame_ = std::make_unique<MapFrame>([this] { return logic_->MayClose(); },
                                      [this] {
                                        logic_->Closed();
                                        if (mainWindow_) mainWindow_->activateWindow();
                                      },
                                      [this] { logic_->Activated(); });
  MapFrame* frame = frame_.get();
  frame->setObjectName(QStringLiteral("MapWindow"));
  frame->setWindowTitle(QString::fromStdString(logic_->WindowTitle()));
  frame->setWindowIcon(BosquellIcon());
  // Closing the main window ends the program even while the map is open.
  frame->setAttribute(Qt::WA_QuitOnClose, false);

  canvas_ = new MapCanvas(*logic_, frame);
  canvas_->setAccessibleName(QStringLiteral("Map"));
  canvas_->setAccessibleDescription(QStringLiteral(
      "Drag to draw the scatter area; arrows pan, Shift+arrows move the area, Ctrl+Shift+arrows "
      "size it; plus and minus zoom, Home fits, R rerolls, Esc closes"));

  panel_ = new RecipeSidePanel(*logic_, frame);
  // Alt+R is the "&Recipe" menu's; R on the picture rerolls.
  reroll_ = new QPushButton(QStringLiteral("Reroll"), frame);
  reroll_->setObjectName(QStringLiteral("Reroll"));
  reroll_->setAccessibleName(QStringLiteral("Reroll"));
  reroll_->setToolTip(QStringLiteral("A new seed for the preview (R on the map)"));
  reroll_->setAutoDefault(false);
  opacity_ = new QSlider(Qt::Horizontal, frame);
  opacity_->setObjectName(QStringLiteral("Opacity"));
  opacity_->setAccessibleName(QStringLiteral("Background opacity"));
  opacity_->setRange(0, 100);
  opacity_->setValue(100);
  opacity_->setMaximumWidth(120);
  opacity_->setToolTip(QStringLiteral("How much of the background picture shows"));
  status_ = new QLabel(frame);
  status_->setObjectName(QStringLiteral("MapStatus"));
  status_->setAccessibleName(QStringLiteral("Map status"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* bar = new QHBoxLayout;
  bar->addWidget(reroll_);
  bar->addSpacing(8);
  bar->addWidget(FieldLabel("&Opacity:", opacity_, frame));
  bar->addWidget(opacity_);
  bar->addStretch(1);
  // The status line may be longer than the window is wide: it is cut, the window not widened.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* picture = new QHBoxLayout;
  picture->addWidget(canvas_, 1);
  // On a small screen the panel scrolls rather than push the window past it.
  auto* scroll = new QScrollArea(frame);
  scroll->setObjectName(QStringLiteral("RecipePanelScroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setFocusPolicy(Qt::NoFocus);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(panel_);
  scroll->setFixedWidth(panel_->sizeHint().width() +
                        scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  picture->addWidget(scroll);
  layout->addLayout(picture, 1);
  layout->addLayout(bar);
  layout->addWidget(status_);
  buildRecipeMenu();

  QWidget::setTabOrder(canvas_, panel_->tabOrder().front());
  QWidget::setTabOrder(panel_->tabOrder().back(), reroll_);
  QWidget::setTabOrder(reroll_, opacity_);

  QObject::connect(reroll_, &QPushButton::clicked, frame, [this] { logic_->Reroll(); });
  QObject::connect(opacity_, &QSlider::valueChanged, frame,
                   [this](int value) { logic_->BackgroundOpacityChanged(value / 100.0); });
  // Esc and F2 close the map from any of its controls.
  auto* close = new QAction(frame);
  close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_F2)});
  QObject::connect(close, &QAction::triggered, frame, &QWidget::close);
  frame->addAction(close);
  // F6 goes over to the main window, and there back to the map.
  auto* toMain = new QAction(frame);
  toMain->setShortcut(QKeySequence(Qt::Key_F6));
  QObject::connect(toMain, &QAction::triggered, frame, [this] {
    if (mainWindow_) mainWindow_->activateWindow();
  });
  frame->addAction(toMain);

  frame->resize(frame->sizeHint());
}

void MapWindow::buildRecipeMenu() {
  MapFrame* frame = frame_.get();
  auto* bar = new QMenuBar(frame);
  frame->layout()->setMenuBar(bar);
  QMenu* recipe = bar->addMenu(QStringLiteral("&Recipe"));
  recipe->setObjectName(QStringLiteral("RecipeMenu"));
  addRecipeFileItems(recipe);
  buildEditMenu(bar->addMenu(QStringLiteral("&Edit")));
  buildToolsMenu(bar->addMenu(QStringLiteral("&Tools")));
  QAction* choose = recipe->addAction(QString::fromUtf8("&Background\u2026"));
  choose->setObjectName(QStringLiteral("ChooseBackground"));
  QObject::connect(choose, &QAction::triggered, frame, [this] {
    const QString file = dialogs_.pictureFile(frame_.get());
    if (!file.isEmpty()) logic_->ChooseBackground(file.toUtf8().toStdString());
  });
  QAction* align = recipe->addAction(QStringLiteral("&Align by Two Points"));
  align->setObjectName(QStringLiteral("AlignBackground"));
  QObject::connect(align, &QAction::triggered, frame, [this] { logic_->PickAlignmentSpot(); });
  AddBackgroundCornersItem(recipe, frame, *logic_, [this](QWidget* parent, const QString& prompt) {
    return dialogs_.mapPosition(parent, prompt);
  });
  addTakeBackItem(recipe);
}

void MapWindow::addTakeBackItem(QMenu* recipe) {
  QAction* takeBack = recipe->addAction(QString::fromUtf8("&Take back a run\u2026"));
  takeBack->setObjectName(QStringLiteral("TakeBackRun"));
  QObject::connect(takeBack, &QAction::triggered, frame_.get(), [this] {
    QWidget* parent = frame_.get();
    logic_->TakeRunBack({[this, parent]() -> std::optional<std::string> {
                           const std::optional<QString> seed = takeBackDialogs_.seed(parent);
                           if (!seed) return std::nullopt;
                           return seed->toUtf8().toStdString();
                         },
                         [this, parent](const std::string& question) {
                           return takeBackDialogs_.confirm(parent, QString::fromUtf8(question));
                         },
                         [this, parent](const std::string& text) {
                           takeBackDialogs_.message(parent, QString::fromUtf8(text));
                         }});
  });
}

void MapWindow::addRecipeFileItems(QMenu* recipe) {
  MapFrame* frame = frame_.get();
  QAction* create = recipe->addAction(QStringLiteral("&New"));
  create->setObjectName(QStringLiteral("NewRecipe"));
  QObject::connect(create, &QAction::triggered, frame, [this] { logic_->NewRecipe(); });
  QAction* open = recipe->addAction(QString::fromUtf8("&Open\u2026"));
  open->setObjectName(QStringLiteral("OpenRecipe"));
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  QObject::connect(open, &QAction::triggered, frame, [this] { openRecipe(); });
  QAction* save = recipe->addAction(QStringLiteral("&Save"));
  save->setObjectName(QStringLiteral("SaveRecipe"));
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  QObject::connect(save, &QAction::triggered, frame,
                   [this] { showRecipeProblem(logic_->SaveRecipe()); });
  QAction* saveAs = recipe->addAction(QString::fromUtf8("Save &As\u2026"));
  saveAs->setObjectName(QStringLiteral("SaveRecipeAs"));
  QObject::connect(saveAs, &QAction::triggered, frame, [this] { saveRecipeAs(); });
  recipe->addSeparator();
}

void MapWindow::openRecipe() {
  // Unsaved changes are asked about before the file dialog, not after it.
  if (!logic_->Document().MayDropChanges()) return;
  const QString file = recipeDialogs_.openFile(frame_.get());
  if (!file.isEmpty()) showRecipeProblem(logic_->OpenRecipe(file.toUtf8().toStdString()));
}

void MapWindow::saveRecipeAs() {
  const QString file = recipeDialogs_.saveFile(frame_.get());
  if (!file.isEmpty()) showRecipeProblem(logic_->SaveRecipeAs(file.toUtf8().toStdString()));
}

void MapWindow::showRecipeProblem(bool done) {
  const std::string& problem = logic_->Document().Problem();
  if (!done && !problem.empty()) {
    recipeDialogs_.problem(frame_.get(), QString::fromStdString(problem));
  }
}

// Ctrl+Z and Ctrl+Y stay the picture's keys (and the rule fields' own undo): the items only
// show them, so that one key press never undoes twice.
void MapWindow::buildEditMenu(QMenu* edit) {
  edit_ = edit;
  edit->setObjectName(QStringLiteral("EditMenu"));
  QAction* undo = edit->addAction(QStringLiteral("&Undo\tCtrl+Z"));
  undo->setObjectName(QStringLiteral("Undo"));
  QObject::connect(undo, &QAction::triggered, frame_.get(),
                   [this] { logic_->KeyPressed(MapKey::kUndo, false, true); });
  QAction* redo = edit->addAction(QStringLiteral("&Redo\tCtrl+Y"));
  redo->setObjectName(QStringLiteral("Redo"));
  QObject::connect(redo, &QAction::triggered, frame_.get(),
                   [this] { logic_->KeyPressed(MapKey::kRedo, false, true); });
}

void MapWindow::buildToolsMenu(QMenu* tools) {
  MapFrame* frame = frame_.get();
  tools->setObjectName(QStringLiteral("ToolsMenu"));
  struct ToolItem {
    ShapeTool tool;
    const char* text;
    const char* name;
  };
  static constexpr ToolItem kTools[] = {
      {ShapeTool::kSelect, "&Select", "SelectTool"},
      {ShapeTool::kRectangle, "&Rectangle", "RectangleTool"},
      {ShapeTool::kPolygon, "&Polygon", "PolygonTool"},
      {ShapeTool::kCircle, "&Circle", "CircleTool"},
      {ShapeTool::kCorridor, "C&orridor", "CorridorTool"},
  };
  tools_ = new QActionGroup(frame);
  for (const ToolItem& item : kTools) {
    QAction* action = tools->addAction(QString::fromUtf8(item.text));
    action->setObjectName(QString::fromLatin1(item.name));
    action->setCheckable(true);
    action->setData(static_cast<int>(item.tool));
    tools_->addAction(action);
    QObject::connect(action, &QAction::triggered, frame,
                     [this, tool = item.tool] { logic_->SetTool(tool); });
  }
  tools->addSeparator();
  inclusion_ = new QActionGroup(frame);
  for (const bool exclude : {false, true}) {
    QAction* action =
        tools->addAction(exclude ? QStringLiteral("&Exclude") : QStringLiteral("&Include"));
    action->setObjectName(exclude ? QStringLiteral("Exclude") : QStringLiteral("Include"));
    action->setCheckable(true);
    inclusion_->addAction(action);
    QObject::connect(action, &QAction::triggered, frame,
                     [this, exclude] { logic_->SetExclude(exclude); });
  }
  updateEditItems();
}

void MapWindow::updateEditItems() {
  const RecipeEditor& editor = logic_->Document().Editor();
  for (QAction* action : tools_->actions()) {
    action->setChecked(action->data().toInt() == static_cast<int>(editor.Tool()));
  }
  // Include or exclude is that of the selected area; without one there is nothing to switch.
  const std::optional<bool> exclude = logic_->SelectedExcludes();
  inclusion_->setEnabled(exclude.has_value());
  inclusion_->actions().at(0)->setChecked(exclude == false);
  inclusion_->actions().at(1)->setChecked(exclude == true);
  if (edit_ != nullptr) {
    edit_->actions().at(0)->setEnabled(editor.History().CanUndo());
    edit_->actions().at(1)->setEnabled(editor.History().CanRedo());
  }
}

void MapWindow::askAlignmentPosition() {
  if (!logic_->AlignmentSpot()) {
    askingPosition_ = false;
    return;
  }
  const std::optional<QString> position =
      dialogs_.mapPosition(frame_.get(), AlignmentPositionPrompt());
  askingPosition_ = false;
  if (position) {
    logic_->AlignmentPositionTyped(position->toUtf8().toStdString());
  } else {
    logic_->AlignmentCancelled();
  }
}

void MapWindow::Open() {
  if (!frame_) {
    build();
    // The first time, beside the main window rather than over its boxes; then where the user
    // puts it.
    if (mainWindow_) MoveBeside(*frame_, *mainWindow_);
  }
  Refresh();
  frame_->setWindowState(frame_->windowState() & ~Qt::WindowMinimized);
  frame_->show();
  frame_->raise();
  frame_->activateWindow();
  canvas_->setFocus();
}

void MapWindow::Close() {
  if (!frame_) return;
  frame_->hide();
  if (mainWindow_) mainWindow_->activateWindow();
}

void MapWindow::Refresh() {
  if (!frame_) return;
  status_->setText(QString::fromStdString(logic_->StatusText()));
  frame_->setWindowTitle(QString::fromStdString(logic_->WindowTitle()));
  // The slider follows the recipe's opacity (opened, undone) without making an edit of it.
  const int opacity = static_cast<int>(std::lround(logic_->Background().Opacity() * 100));
  if (opacity_->value() != opacity) {
    const QSignalBlocker quiet(opacity_);
    opacity_->setValue(opacity);
  }
  updateEditItems();
  panel_->refill();
  canvas_->update();
  // A spot picked on the picture: its position is asked once the click that picked it is over.
  if (logic_->AlignmentSpot() && !askingPosition_) {
    askingPosition_ = true;
    QTimer::singleShot(0, frame_.get(), [this] { askAlignmentPosition(); });
  }
}

}  // namespace bosquell
