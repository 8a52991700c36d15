#pragma once

#include <string>

namespace bosquell {

// What an Add Objects run may do to the window that started it. The window implements these
// for real; tests and the command line implement them to record or print.
class WindowOperations {
 public:
  virtual ~WindowOperations() = default;

  // A modal message box with the text and a single OK button; returns once it is dismissed.
  virtual void ShowMessage(const std::string& text) = 0;
  // Disables (false) or enables (true) the whole window.
  virtual void SetWindowEnabled(bool enabled) = 0;
  // The caption of the status line.
  virtual void SetStatusText(const std::string& text) = 0;
  // Forgets the opened mission file, so that a new one must be opened before the next run.
  virtual void ClearMissionPath() = 0;
};

}  // namespace bosquell
