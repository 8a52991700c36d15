#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "window_logic/drive_source.h"
#include "window_logic/window_view.h"

namespace bosquell::testing {

// A window without a toolkit: keeps what the logic shows and records every message box.
class RecordingView final : public WindowView {
 public:
  RecordingView();

  std::string Text(Control control) const override;
  void SetText(Control control, const std::string& text) override { texts[control] = text; }
  void SetEntries(Control list, const std::vector<std::string>& shown) override;
  int SelectedIndex(Control list) const override;
  void Select(Control list, int index) override;
  void ShowDirectories(const std::vector<DirectoryEntry>& shown, int current) override;
  void ShowMessage(const std::string& text) override;
  void SetWindowEnabled(bool isEnabled) override { enabled = isEnabled; }
  void EndProgram() override { ended = true; }

  // The names of the directory list's entries, in order.
  std::vector<std::string> DirectoryNames() const;

  std::map<Control, std::string> texts;
  std::map<Control, std::vector<std::string>> entries;
  std::map<Control, int> selected;
  std::vector<DirectoryEntry> directories;
  int currentDirectory = -1;
  std::vector<std::string> messages;
  std::vector<bool> enabledAtMessage;  // whether the window was enabled when each was shown
  bool enabled = true;
  bool ended = false;
};

// Drives given by the test; those in `unreadable` cannot be read.
class FixedDrives final : public DriveSource {
 public:
  std::vector<std::string> Drives() override { return roots; }
  bool IsReadable(const std::string& root) override { return !unreadable.contains(root); }
  std::string CurrentDirectory() override { return current; }

  std::vector<std::string> roots;
  std::set<std::string> unreadable;
  std::string current;
};

}  // namespace bosquell::testing
