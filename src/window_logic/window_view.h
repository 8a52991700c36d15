#pragma once

#include <string>
#include <vector>

#include "form/form1_layout.h"

namespace bosquell {

// One line of the directory list: the current directory's ancestors from the root down, the
// current directory itself, then its subdirectories one level deeper.
struct DirectoryEntry {
  std::string name;     // shown text: the root in full, else the last name
  std::string path;     // full path, in the platform's own form
  int depth = 0;        // indentation level, 0 for the root
  bool onPath = false;  // an ancestor or the current directory (shown as an open folder)

  bool operator==(const DirectoryEntry&) const = default;
};

// What the window logic needs of a window: plain texts, list entries and selections. Texts are
// UTF-8. A view never reports the changes the logic makes through these calls back to it (no
// change event while the logic sets a text or a selection); the logic runs any follow-up
// reaction itself. Only the user's own actions become events.
class WindowView {
 public:
  virtual ~WindowView() = default;

  // The text of a text box, of the theme box's text field, or of the status line.
  virtual std::string Text(Control control) const = 0;
  virtual void SetText(Control control, const std::string& text) = 0;

  // The entries of the drive list, the file list or the theme box's list, in this order (no
  // sorting); nothing is selected afterwards.
  virtual void SetEntries(Control list, const std::vector<std::string>& entries) = 0;
  // The selected entry of the drive list, the file list or the theme box, -1 when none is.
  virtual int SelectedIndex(Control list) const = 0;
  // Selects an entry (-1: none). The theme box's text field then shows the entry.
  virtual void Select(Control list, int index) = 0;

  // Fills the folder list and marks its current entry, which is the directory the file list
  // shows.
  virtual void ShowDirectories(const std::vector<DirectoryEntry>& entries, int current) = 0;

  // A modal message box with a single OK button and no icon; returns once it is dismissed. It
  // must take input also while the window is disabled.
  virtual void ShowMessage(const std::string& text) = 0;
  // Disables (false) or enables (true) the whole window.
  virtual void SetWindowEnabled(bool enabled) = 0;
  // Ends the program at once: no question, nothing saved.
  virtual void EndProgram() = 0;
};

}  // namespace bosquell
