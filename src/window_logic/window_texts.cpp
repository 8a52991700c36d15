#include "window_logic/window_texts.h"

namespace bosquell {

std::string_view ProgramVersion() {
  return BOSQUELL_VERSION;
}

std::string MissionChangedText(const std::string& missionPath) {
  return "The mission file has changed since the map showed it:\r\n" + missionPath +
         "\r\nThe map now shows it as it is, with the objects a run would add to it; look, then "
         "press \"Add Objects\" again.\r\nNothing has been saved, and no earlier output file has "
         "been changed.";
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
