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
  connect(widget<QComboBox>(Control::kDriveList), &QComboBox::currentIndexChanged, this,
          [this] { logic_.DriveChanged(); });
  connect(widget<DirectoryList>(Control::kFolderList), &DirectoryList::entryOpened, this,
          [this](int index) { logic_.DirectoryOpened(index); });
  auto* files = widget<FileList>(Control::kFileList);
  connect(files, &QListWidget::itemDoubleClicked, this, [this] { logic_.OpenMission(); });
  connect(files, &FileList::openRequested, this, [this] { logic_.OpenMission(); });
  connect(widget<QPushButton>(Control::kOpen), &QPushButton::clicked, this,
          [this] { logic_.OpenMission(); });
  // Only a choice from the list is a pick; typing in the field is not.
  connect(widget<QComboBox>(Control::kTheme), &QComboBox::activated, this,
          [this] { logic_.ThemePicked(); });
  connect(widget<QLineEdit>(Control::kOwnId), &QLineEdit::textChanged, this,
          [this] { logic_.OwnIdChanged(); });
  connect(widget<QPushButton>(Control::kAddObjects), &QPushButton::clicked, this,
          [this] { logic_.AddObjects(); });
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
  if (auto* files = qobject_cast<FileList*>(widget)) {
    files->setNames(FromUtf8(entries));
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->clear();
    combo->addItems(FromUtf8(entries));
    combo->setCurrentIndex(-1);
  }
}

int Form1::SelectedIndex(Control list) const {
  if (auto* files = widget<FileList>(list)) return files->selectedRow();
  if (auto* combo = qobject_cast<QComboBox*>(control(list))) return combo->currentIndex();
  return -1;
}

void Form1::Select(Control list, int index) {
  QWidget* widget = control(list);
  const QSignalBlocker blocker(widget);
  if (auto* files = qobject_cast<FileList*>(widget)) {
    files->selectRow(index);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    combo->setCurrentIndex(index);
  }
}

void Form1::ShowDirectories(const std::vector<DirectoryEntry>& entries, int current) {
  auto* folders = widget<DirectoryList>(Control::kFolderList);
  const QSignalBlocker blocker(folders);
  folders->showEntries(entries, current);
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
