#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../engine/test_support.h"
#include "win32/form1_window.h"

namespace bosquell::win32::testing {

// Stands in for the message boxes: records each text, and whether the window was enabled when
// it was shown, and returns at once.
class MessageLog {
 public:
  MessagePresenter Presenter();

  std::vector<std::string> messages;
  std::vector<bool> windowEnabled;
};

// A fresh folder of the given name in a temporary folder, made the process's current one for
// as long as it lives, and removed again at the end.
class CurrentScratchFolder {
 public:
  explicit CurrentScratchFolder(std::string_view name);
  ~CurrentScratchFolder();
  CurrentScratchFolder(const CurrentScratchFolder&) = delete;
  CurrentScratchFolder& operator=(const CurrentScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  bosquell::testing::TempDir parent_;
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// The user's keyboard, through the program's own message handling: a key goes down and up on
// the control that has the focus; text arrives as characters.
void PressKey(const Form1Window& window, UINT key);
void TypeText(const Form1Window& window, std::wstring_view text);
// Presses Tab until the control has the focus; false when a whole round does not reach it.
bool TabTo(const Form1Window& window, Control control);
// True when the keyboard focus is on the control or on a part of it (a combo box's field).
bool HasFocus(const Form1Window& window, Control control);

}  // namespace bosquell::win32::testing
