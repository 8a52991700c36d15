#pragma once

#include <string>
#include <string_view>

namespace bosquell {

// The name on the window and on every message box.
inline constexpr char kApplicationName[] = "Bosquell";

// Shown the first time the own object id changes.
inline constexpr char kOwnIdWarning[] =
    "WARNING!\r\n"
    "If you enter the wrong Object ID, DF2 Mission Editor will not be able to load the output "
    "file!";

// With the map open, "Add Objects" found the mission written since the map read it: the map
// shows it anew, and nothing is written until the user has seen that.
std::string MissionChangedText(const std::string& missionPath);

// The About box: who made the program and under which licence, then where comments go.
std::string AboutText();

// The program's version, as the build names it.
std::string_view ProgramVersion();

}  // namespace bosquell
