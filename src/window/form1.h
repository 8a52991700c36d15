#pragma once

#include <memory>
#include <string>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "common/window_operations.h"
#include "placement/random_source.h"
#include "window/message_box.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace bosquell {

class DirectoryList;
class DriveList;
class FileList;

// The program's one window: choosing the mission file, the placement options, the tree theme
// or an own object id, and the "Add Objects" button that runs on them. Every control carries
// its name as objectName. The window is also what an Add Objects run reports to.
class Form1 : public QMainWindow, public WindowOperations {
  Q_OBJECT

 public:
  // `presenter` shows every message box; `random` feeds the runs (a clock-seeded generator
  // when none is given).
  explicit Form1(MessagePresenter presenter = ShowMessageBox,
                 std::unique_ptr<RandomSource> random = nullptr, QWidget* parent = nullptr);
  ~Form1() override;

  // The opened mission file ("" when none is open) and the file the next run writes.
  const QString& missionPath() const { return missionPath_; }
  const QString& outputPath() const { return outputPath_; }
  bool idWarningShown() const { return idWarningShown_; }

  // What a run does to the window.
  void ShowMessage(const std::string& text) override;
  void SetWindowEnabled(bool enabled) override;
  void SetStatusText(const std::string& text) override;
  void ClearMissionPath() override;

 private:
  void createControls();
  void createMenu();
  void arrangeTabOrder();
  void connectReactions();

  void fillThemeList();
  void changeDrive();
  void changeDirectory();
  void openMissionFile();
  void pickTheme(int index);
  void changeOwnId();
  void showThemePrompt();
  void addObjects();
  void showAbout();
  void showMessage(const QString& text);

  MessagePresenter presenter_;
  std::unique_ptr<RandomSource> random_;

  QString missionPath_;
  QString outputPath_;
  bool idWarningShown_ = false;
  QPointer<QWidget> focusBeforeRun_;

  DriveList* drive1_ = nullptr;
  DirectoryList* dir1_ = nullptr;
  FileList* file1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QLineEdit* text3_ = nullptr;
  QLineEdit* text4_ = nullptr;
  QLineEdit* text5_ = nullptr;
  QLineEdit* text6_ = nullptr;
  QComboBox* combo1_ = nullptr;
  QLabel* label1_ = nullptr;
};

}  // namespace bosquell
