#include "window/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "mission/output_path.h"
#include "placement/tree_themes.h"
#include "run/add_objects_run.h"
#include "window/app_icon.h"
#include "window/directory_list.h"
#include "window/drive_list.h"
#include "window/drives.h"
#include "window/file_list.h"
#include "window/mission_path.h"
#include "window/program_texts.h"

namespace bosquell {
namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Form1::Form1(MessagePresenter presenter, std::unique_ptr<RandomSource> random, QWidget* parent)
    : QMainWindow(parent),
      presenter_(presenter ? std::move(presenter) : MessagePresenter(ShowMessageBox)),
      random_(random ? std::move(random) : std::make_unique<MersenneRandom>()) {
  createControls();
  setWindowIcon(BosquellIcon());
  fillThemeList();

  // Start on the process's current directory and its drive.
  const QString start = QDir::currentPath();
  drive1_->setDrives(AvailableDrives());
  drive1_->selectDriveOf(start);
  connectReactions();
  dir1_->setPath(start);
}

Form1::~Form1() = default;

void Form1::connectReactions() {
  // Setting a control from inside a reaction runs that control's own reaction at once: a new
  // drive moves the directory list, which moves the file list.
  connect(drive1_, &QComboBox::currentIndexChanged, this, &Form1::changeDrive);
  connect(dir1_, &DirectoryList::pathChanged, this, &Form1::changeDirectory);
  connect(file1_, &QListWidget::itemDoubleClicked, this, &Form1::openMissionFile);
  connect(command2_, &QPushButton::clicked, this, &Form1::openMissionFile);
  // Only a choice from the list is a pick; typing in the field is not, and neither is the
  // program setting the index.
  connect(combo1_, &QComboBox::activated, this, &Form1::pickTheme);
  // Every change of the own id counts, the program's own included.
  connect(text6_, &QLineEdit::textChanged, this, &Form1::changeOwnId);
  connect(command1_, &QPushButton::clicked, this, &Form1::addObjects);
}

void Form1::fillThemeList() {
  for (std::string_view name : ThemeListOrder()) combo1_->addItem(FromView(name));
  // Adding to an empty list selects the first entry; the prompt stands with none selected.
  showThemePrompt();
}

void Form1::changeDrive() {
  const QString drive = drive1_->drive();
  if (!DriveIsReadable(drive)) {
    showMessage(tr("The drive %1 cannot be read.\r\nCheck that it is ready, or choose another.")
                    .arg(QDir::toNativeSeparators(drive)));
    // Back to the drive the directory list is still on.
    drive1_->selectDriveOf(dir1_->path());
    return;
  }
  dir1_->setPath(StartDirectoryOn(drive, drive1_->drives()));
}

void Form1::changeDirectory() {
  file1_->setPath(dir1_->path());
}

void Form1::openMissionFile() {
  const int index = file1_->selectedRow();
  // With no name selected there is nothing to open; recording the directory as the mission
  // would only lead a run to a wrong output name.
  if (index < 0) return;
  missionPath_ = NativeMissionPath(dir1_->path(), file1_->item(index)->text());
  outputPath_ = QString::fromStdString(OutputPathFor(missionPath_.toStdString()));
  label1_->setText(QString::fromUtf8(kStatusFileOpen));
}

void Form1::pickTheme(int index) {
  // Emptying a filled own id resets the theme box to the prompt on the way; the pick is put
  // back afterwards.
  text6_->setText(QString());
  combo1_->setCurrentIndex(index);
}

void Form1::changeOwnId() {
  if (!idWarningShown_) showMessage(QString::fromUtf8(kOwnIdWarning));
  idWarningShown_ = true;
  showThemePrompt();
}

void Form1::showThemePrompt() {
  // With no entry selected, a later pick of any entry, the last one included, shows it again.
  combo1_->setCurrentIndex(-1);
  combo1_->setEditText(FromView(kThemePrompt));
}

void Form1::addObjects() {
  RunInputs inputs;
  inputs.themeText = combo1_->currentText().toStdString();
  inputs.ownIdText = text6_->text().toStdString();
  inputs.centerXText = text1_->text().toStdString();
  inputs.rangeYText = text2_->text().toStdString();
  inputs.centerYText = text3_->text().toStdString();
  inputs.rangeXText = text4_->text().toStdString();
  inputs.countText = text5_->text().toStdString();
  inputs.missionPath = missionPath_.toStdString();
  inputs.outputPath = outputPath_.toStdString();
  const RunOutcome outcome = RunAddObjects(inputs, *this, *random_);
  // Show the new file among the missions, ready to be opened for another round.
  if (outcome.status == RunOutcome::Status::kCompleted) file1_->setPath(file1_->path());
}

void Form1::showAbout() {
  showMessage(QString::fromUtf8(kAboutText));
}

void Form1::showMessage(const QString& text) {
  presenter_(this, text);
}

void Form1::ShowMessage(const std::string& text) {
  showMessage(QString::fromStdString(text));
}

void Form1::SetWindowEnabled(bool enabled) {
  if (!enabled) focusBeforeRun_ = focusWidget();
  setEnabled(enabled);
  // Disabling took the focus away; give it back to where it was.
  if (enabled && focusBeforeRun_ && !focusWidget()) focusBeforeRun_->setFocus();
}

void Form1::SetStatusText(const std::string& text) {
  label1_->setText(QString::fromStdString(text));
}

void Form1::ClearMissionPath() {
  missionPath_.clear();
}

}  // namespace bosquell
