#pragma once

#include <string>
#include <vector>

#include "common/window_operations.h"

namespace bosquell {

// The window operations of a run started from the command line. There is no window to disable
// and no status line; the messages are kept, since only the run's outcome decides whether they
// go to standard output or to standard error.
class ConsoleWindow final : public WindowOperations {
 public:
  void ShowMessage(const std::string& text) override { messages_.push_back(text); }
  void SetWindowEnabled(bool) override {}
  void SetStatusText(const std::string&) override {}
  void ClearMissionPath() override {}

  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  std::vector<std::string> messages_;
};

}  // namespace bosquell
