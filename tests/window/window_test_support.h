#pragma once

#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "placement/random_source.h"
#include "window/drives.h"
#include "window/message_box.h"

class QComboBox;
class QListWidget;
class QTreeWidget;
class QWidget;

namespace bosquell::testing {

// Stands in for the message boxes: records each text, and whether the window that showed it
// was enabled at the time, and returns at once.
class MessageLog {
 public:
  MessagePresenter presenter();

  QStringList messages;
  QList<bool> windowEnabled;
};

// Hands out the given units in turn, from the start again when they run out.
class ScriptedRandom final : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<float> units) : units_(std::move(units)) {}
  void StartRun() override {}
  float RandomUnit() override;

 private:
  std::vector<float> units_;
  std::size_t next_ = 0;
};

// The machine's drives, then extra roots as further drives (readable when they are there).
class ExtraDrives final : public DriveSource {
 public:
  explicit ExtraDrives(const QStringList& roots);
  std::vector<std::string> Drives() override;
  bool IsReadable(const std::string& root) override { return machine_.IsReadable(root); }
  std::string CurrentDirectory() override { return machine_.CurrentDirectory(); }
  std::string CurrentDirectoryOn(const std::string& root) override {
    return machine_.CurrentDirectoryOn(root);
  }

 private:
  QtDriveSource machine_;
  std::vector<std::string> extra_;
};

// A small mission of our own: a header, one count line and `itemCount` items with id lines,
// every line ending in CR LF.
QByteArray SampleMission(int itemCount);

bool WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// The texts of a list's entries, in order.
QStringList EntryTexts(const QListWidget* list);
// The texts of a directory list's entries, depth first (ancestors, then subdirectories).
QStringList EntryTexts(const QTreeWidget* tree);

// User actions on the lists, with the mouse.
void ClickEntry(QListWidget* list, int row);
void DoubleClickEntry(QListWidget* list, int row);
void DoubleClickEntry(QTreeWidget* tree, const QString& text);
// Chooses an entry from a combo box's drop-down list, as a user does.
void PickFromList(QComboBox* combo, int row);

// True when the keyboard focus is on the widget (or on the part of it that takes the keys).
bool HasFocus(const QWidget* widget);

// Makes a directory the process's current one for as long as the guard lives.
class CurrentDirectoryGuard {
 public:
  explicit CurrentDirectoryGuard(const QString& directory);
  ~CurrentDirectoryGuard();
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  QString previous_;
};

}  // namespace bosquell::testing
