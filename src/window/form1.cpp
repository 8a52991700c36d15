#include "window/form1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <utility>

#include "window/app_icon.h"
#include "window/directory_list.h"
#include "window/drives.h"
#include "window/file_list.h"
#include "window/map_window.h"
#include "window_logic/map_logic.h"

namespace bosquell {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

QStringList FromUtf8(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << FromUtf8(text);
  return list;
}

}  // namespace

Form1::Form1(MessagePresenter presenter, std::unique_ptr<RandomSource> random,
             std::unique_ptr<DriveSource> drives, PreviewSeeds mapSeeds, QWidget* parent)
    : QMainWindow(parent),
      presenter_(presenter ? std::move(presenter) : MessagePresenter(ShowMessageBox)),
      random_(random ? std::move(random) : std::make_unique<MersenneRandom>()),
      drives_(drives ? std::move(drives) : std::make_unique<QtDriveSource>()),
      logic_(*this, *drives_, *random_) {
  createControls();
  createMap(std::move(mapSeeds));
  setWindowIcon(BosquellIcon());
  // The theme list costs nothing; the drive, directory and file lists read the disk and the
  // style's folder icons, and wait for the first frame (paintEvent).
  logic_.LoadThemeList();
  connectReactions();
}

Form1::~Form1() = default;

void Form1::openNamedFile(const QString& path) {
  if (listsFilled_) {
    logic_.OpenNamedFile(path.toStdString());
  } else {
    namedFiles_ << path;
  }
}

void Form1::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  // Queued, the lists are filled once the whole first frame has been painted and flushed.
  if (!listsFillQueued_) {
    listsFillQueued_ = true;
    QMetaObject::invokeMethod(this, &Form1::fillLists, Qt::QueuedConnection);
  }
}

void Form1::fillLists() {
  logic_.LoadFileLists();
  listsFilled_ = true;
  for (const QString& path : std::exchange(namedFiles_, {})) openNamedFile(path);
}

void Form1::connectReactions() {
  // Only the user's actions reach the logic: every change the logic makes is done with the
  // control's signals blocked.
  connect(drive1_, &QComboBox::currentIndexChanged, this, [this] { logic_.DriveChanged(); });
  connect(dir1_, &DirectoryList::entryOpened, this,
          [this](int index) { logic_.DirectoryOpened(index); });
  connect(file1_, &QListWidget::itemDoubleClicked, this, [this] { logic_.OpenMission(); });
  connect(file1_, &FileList::openRequested, this, [this] { logic_.OpenMission(); });
  connect(command2_, &QPushButton::clicked, this, [this] { logic_.OpenMission(); });
  // Only a choice from the list is a pick; typing in the field is not.
  connect(combo1_, &QComboBox::activated, this, [this] { logic_.ThemePicked(); });
  connect(text6_, &QLineEdit::textChanged, this, [this] { logic_.OwnIdChanged(); });
  connect(command1_, &QPushButton::clicked, this, [this] { logic_.AddObjects(); });
}

QWidget* Form1::control(Control control) const {
  switch (control) {
    case Control::kDrive1:
      return drive1_;
    case Control::kDir1:
      return dir1_;
    case Control::kFile1:
      return file1_;
    case Control::kText1:
      return text1_;
    case Control::kText2:
      return text2_;
    case Control::kText3:
      return text3_;
    case Control::kText4:
      return text4_;
    case Control::kText5:
      return text5_;
    case Control::kText6:
      return text6_;
    case Control::kCombo1:
      return combo1_;
    case Control::kCommand1:
      return command1_;
    case Control::kCommand2:
      return command2_;
    case Control::kLabel1:
      return label1_;
  }
  return nullptr;
}

std::string Form1::Text(Control which) const {
  QWidget* widget = control(which);
  if (auto* box = qobject_cast<QLineEdit*>(widget)) return box->text().toStdString();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText().toStdString();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
  return {};
}

void Form1::SetText(Control which, const std::string& text) {
  QWidget* widget = control(which);
  const QSignalBlocker blocker(widget);
  if (auto* box = qobject_cast<QLineEdit*>(widget)) box->setText(FromUtf8(text));
  if (auto* combo = qobject_cast<QComboBox*>(widget)) combo->setEditText(FromUtf8(text));
  if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(FromUtf8(text));
}

void Form1::SetEntries(Control list, const std::vector<std::string>& entries) {
  QWidget* widget = control(list);
  const QSignalBlocker blocker(widget);
  if (list == Control::kFile1) {
    file1_->setNames(FromUtf8(entries));
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->clear();
    combo->addItems(FromUtf8(entries));
    combo->setCurrentIndex(-1);
  }
}

int Form1::SelectedIndex(Control list) const {
  if (list == Control::kFile1) return file1_->selectedRow();
  if (auto* combo = qobject_cast<QComboBox*>(control(list))) return combo->currentIndex();
  return -1;
}

void Form1::Select(Control list, int index) {
  QWidget* widget = control(list);
  const QSignalBlocker blocker(widget);
  if (list == Control::kFile1) {
    file1_->selectRow(index);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->setCurrentIndex(index);
  }
}

void Form1::ShowDirectories(const std::vector<DirectoryEntry>& entries, int current) {
  const QSignalBlocker blocker(dir1_);
  dir1_->showEntries(entries, current);
}

void Form1::ShowMessage(const std::string& text) {
  // The box stands in front of the window it came from: the map, when the user is there. Modal
  // to the whole program, it takes the input of both windows while it shows.
  QWidget* map = mapWindow();
  presenter_(map != nullptr && map->isActiveWindow() ? map : this, FromUtf8(text));
}

void Form1::SetWindowEnabled(bool enabled) {
  if (!enabled) focusBeforeRun_ = focusWidget();
  setEnabled(enabled);
  // Disabling took the focus away; give it back to where it was.
  if (enabled && focusBeforeRun_ && !focusWidget()) focusBeforeRun_->setFocus();
}

void Form1::EndProgram() {
  QCoreApplication::exit(0);
}

}  // namespace bosquell
