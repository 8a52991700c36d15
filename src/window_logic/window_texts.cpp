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

std::string_view AccessibleName(Control control) {
  switch (control) {
    case Control::kDrive1:
      return "Drive";
    case Control::kDir1:
      return "Folders";
    case Control::kFile1:
      return "Mission files";
    case Control::kText1:
      return "Center offset X";
    case Control::kText2:
      return "Range Y";
    case Control::kText3:
      return "Center offset Y";
    case Control::kText4:
      return "Range X";
    case Control::kText5:
      return "Number of objects";
    case Control::kText6:
      return "Own object id";
    case Control::kCombo1:
      return "Tree theme";
    case Control::kCommand1:
      return "Add Objects";
    case Control::kCommand2:
      return "Open";
    case Control::kLabel1:
      return "Status";
  }
  return {};
}

}  // namespace bosquell
