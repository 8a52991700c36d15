#pragma once

#include <functional>
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
  std::string Text(Control control) const override {
    const auto found = texts.find(control);
    return found == texts.end() ? std::string() : found->second;
  }
  void SetText(Control control, const std::string& text) override {
    texts[control] = text;
    if (control == Control::kStatus) calls.push_back("status:" + text);
  }
  void SetEntries(Control list, const std::vector<std::string>& shown) override {
    entries[list] = shown;
    selected[list] = -1;
  }
  int SelectedIndex(Control list) const override {
    const auto found = selected.find(list);
    return found == selected.end() ? -1 : found->second;
  }
  void Select(Control list, int index) override {
    selected[list] = index;
    // A combo box's text field shows the selected entry.
    if (list == Control::kTheme) texts[list] = index < 0 ? "" : entries[list].at(index);
  }
  void ShowDirectories(const std::vector<DirectoryEntry>& shown, int current) override {
    directories = shown;
    currentDirectory = current;
  }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    calls.push_back("message:" + text);
    if (onMessage) onMessage();
  }
  void SetWindowEnabled(bool isEnabled) override {
    enabled = isEnabled;
    calls.push_back(isEnabled ? "enable" : "disable");
  }
  void EndProgram() override { ended = true; }

  // The texts the window's layout starts with.
  std::map<Control, std::string> texts{
      {Control::kCenterX, "0"},   {Control::kCenterY, "0"},
      {Control::kRangeX, "1024"}, {Control::kRangeY, "1024"},
      {Control::kCount, "20"},    {Control::kStatus, "Please Open a File!"}};
  std::map<Control, std::vector<std::string>> entries;
  std::map<Control, int> selected;
  std::vector<DirectoryEntry> directories;
  int currentDirectory = -1;
  std::vector<std::string> messages;
  // The message boxes, the enabling and the status line, in order, e.g. "message:...",
  // "disable", "status:...".
  std::vector<std::string> calls;
  // Called while a message box is shown, to look at the logic's state at that moment.
  std::function<void()> onMessage;
  bool enabled = true;
  bool ended = false;
};

// Drives given by the test; those in `unreadable` cannot be read.
class FixedDrives final : public DriveSource {
 public:
  std::vector<std::string> Drives() override { return roots; }
  bool IsReadable(const std::string& root) override { return !unreadable.contains(root); }
  std::string CurrentDirectory() override { return current; }
  std::string CurrentDirectoryOn(const std::string& root) override {
    const auto found = currentOn.find(root);
    return found == currentOn.end() ? std::string() : found->second;
  }

  std::vector<std::string> roots;
  std::set<std::string> unreadable;
  std::string current;
  std::map<std::string, std::string> currentOn;  // each drive's own current directory
};

}  // namespace bosquell::testing
