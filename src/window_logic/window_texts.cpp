#include "window_logic/window_texts.h"

namespace bosquell {

std::string_view ProgramVersion() {
  return BOSQUELL_VERSION;
}

std::string AboutText() {
  std::string text = kApplicationName;
  text += ' ';
  text += ProgramVersion();
  text += " by The Bosquell authors, free to use, copy and share under the MIT licence.\r\n";
  text += "Please send your comments and bug reports to the project's issue tracker.";
  return text;
}

}  // namespace bosquell
