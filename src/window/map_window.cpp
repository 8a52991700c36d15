#include "window/map_window.h"

#include <functional>
#include <utility>

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "window/app_icon.h"
#include "window/map_canvas.h"
#include "window/message_box.h"
#include "window_logic/map_logic.h"
#include "window_logic/window_texts.h"

namespace bosquell {

// The top-level widget: tells the logic when the user closes it with the title bar or Esc, and
// when it becomes the active window.
class MapFrame final : public QWidget {
 public:
  MapFrame(std::function<void()> closed, std::function<void()> activated)
      : closed_(std::move(closed)), activated_(std::move(activated)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();  // hides the window; it stays built for the next time
    closed_();
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activated_();
  }

 private:
  std::function<void()> closed_;
  std::function<void()> activated_;
};

namespace {

QLabel* FieldLabel(const char* caption, QWidget* field, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->setBuddy(field);
  return label;
}

QLineEdit* DistanceField(const char* name, const char* accessibleName, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setAccessibleName(QString::fromUtf8(accessibleName));
  field->setToolTip(QString::fromUtf8("In user units; empty or 0 is off"));
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  return field;
}

QString AskPictureFile(QWidget* parent) {
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Background picture"), QString(),
                                      QStringLiteral("Pictures (*.png *.jpg *.jpeg *.bmp);;"
                                                     "All files (*)"));
}

std::optional<QString> AskMapPosition(QWidget* parent) {
  bool given = false;
  const QString text =
      QInputDialog::getText(parent, QStringLiteral("Align the picture"),
                            QStringLiteral("Map position of the point, in user units (x, y):"),
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

}  // namespace

MapWindow::MapWindow(QWidget* mainWindow)
    : mainWindow_(mainWindow),
      dialogs_{AskPictureFile, AskMapPosition},
      takeBackDialogs_{AskSeed, AskTakeBack, ShowMessageBox} {}

MapWindow::~MapWindow() = default;

QWidget* MapWindow::window() const {
  return frame_.get();
}

void MapWindow::build() {
  frame_ = std::make_unique<MapFrame>(
      [this] {
        logic_->Closed();
        if (mainWindow_) mainWindow_->activateWindow();
      },
      [this] { logic_->Activated(); });
  MapFrame* frame = frame_.get();
  frame->setObjectName(QStringLiteral("MapWindow"));
  frame->setWindowTitle(QStringLiteral("Bosquell map"));
  frame->setWindowIcon(BosquellIcon());
  // Closing the main window ends the program even while the map is open.
  frame->setAttribute(Qt::WA_QuitOnClose, false);

  canvas_ = new MapCanvas(*logic_, frame);
  canvas_->setAccessibleName(QStringLiteral("Map"));
  canvas_->setAccessibleDescription(QStringLiteral(
      "Drag to draw the scatter area; arrows pan, Shift+arrows move the area, Ctrl+Shift+arrows "
      "size it; plus and minus zoom, Home fits, R rerolls, Esc closes"));

  keepClear_ = DistanceField("KeepClear", "Keep clear distance", frame);
  keepClear_->setText(QString::fromStdString(logic_->KeepClearField()));
  spacing_ = DistanceField("Spacing", "Spacing distance", frame);
  spacing_->setText(QString::fromStdString(logic_->SpacingField()));
  reroll_ = new QPushButton(QStringLiteral("&Reroll"), frame);
  reroll_->setObjectName(QStringLiteral("Reroll"));
  reroll_->setAccessibleName(QStringLiteral("Reroll"));
  reroll_->setAutoDefault(false);
  opacity_ = new QSlider(Qt::Horizontal, frame);
  opacity_->setObjectName(QStringLiteral("Opacity"));
  opacity_->setAccessibleName(QStringLiteral("Background opacity"));
  opacity_->setRange(0, 100);
  opacity_->setValue(100);
  opacity_->setMaximumWidth(120);
  status_ = new QLabel(frame);
  status_->setObjectName(QStringLiteral("MapStatus"));
  status_->setAccessibleName(QStringLiteral("Map status"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* bar = new QHBoxLayout;
  bar->addWidget(FieldLabel("&Keep clear:", keepClear_, frame));
  bar->addWidget(keepClear_);
  bar->addSpacing(8);
  bar->addWidget(FieldLabel("S&pacing:", spacing_, frame));
  bar->addWidget(spacing_);
  bar->addSpacing(8);
  bar->addWidget(reroll_);
  bar->addSpacing(8);
  bar->addWidget(FieldLabel("&Opacity:", opacity_, frame));
  bar->addWidget(opacity_);
  bar->addStretch(1);
  // The status line may be longer than the window is wide: it is cut, the window not widened.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(canvas_, 1);
  layout->addLayout(bar);
  layout->addWidget(status_);
  buildRecipeMenu();

  QWidget::setTabOrder(canvas_, keepClear_);
  QWidget::setTabOrder(keepClear_, spacing_);
  QWidget::setTabOrder(spacing_, reroll_);
  QWidget::setTabOrder(reroll_, opacity_);

  // Only the user's edits reach the logic; the window never sets these fields itself again.
  QObject::connect(keepClear_, &QLineEdit::textEdited, frame,
                   [this](const QString& text) { logic_->KeepClearEdited(text.toStdString()); });
  QObject::connect(spacing_, &QLineEdit::textEdited, frame,
                   [this](const QString& text) { logic_->SpacingEdited(text.toStdString()); });
  QObject::connect(reroll_, &QPushButton::clicked, frame, [this] { logic_->Reroll(); });
  QObject::connect(opacity_, &QSlider::valueChanged, frame,
                   [this](int value) { logic_->BackgroundOpacityChanged(value / 100.0); });
  // Esc and F2 close the map from any of its controls.
  auto* close = new QAction(frame);
  close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_F2)});
  QObject::connect(close, &QAction::triggered, frame, &QWidget::close);
  frame->addAction(close);

  frame->resize(frame->sizeHint());
}

void MapWindow::buildRecipeMenu() {
  MapFrame* frame = frame_.get();
  auto* bar = new QMenuBar(frame);
  frame->layout()->setMenuBar(bar);
  QMenu* recipe = bar->addMenu(QStringLiteral("&Recipe"));
  recipe->setObjectName(QStringLiteral("RecipeMenu"));
  QAction* choose = recipe->addAction(QString::fromUtf8("&Background\u2026"));
  choose->setObjectName(QStringLiteral("ChooseBackground"));
  QObject::connect(choose, &QAction::triggered, frame, [this] {
    const QString file = dialogs_.pictureFile(frame_.get());
    if (!file.isEmpty()) logic_->ChooseBackground(file.toUtf8().toStdString());
  });
  QAction* align = recipe->addAction(QStringLiteral("&Align by Two Points"));
  align->setObjectName(QStringLiteral("AlignBackground"));
  QObject::connect(align, &QAction::triggered, frame, [this] { logic_->PickAlignmentSpot(); });
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

void MapWindow::askAlignmentPosition() {
  if (!logic_->AlignmentSpot()) {
    askingPosition_ = false;
    return;
  }
  const std::optional<QString> position = dialogs_.mapPosition(frame_.get());
  askingPosition_ = false;
  if (position) {
    logic_->AlignmentPositionTyped(position->toUtf8().toStdString());
  } else {
    logic_->AlignmentCancelled();
  }
}

void MapWindow::Open() {
  if (!frame_) build();
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
  canvas_->update();
  // A spot picked on the picture: its position is asked once the click that picked it is over.
  if (logic_->AlignmentSpot() && !askingPosition_) {
    askingPosition_ = true;
    QTimer::singleShot(0, frame_.get(), [this] { askAlignmentPosition(); });
  }
}

}  // namespace bosquell
