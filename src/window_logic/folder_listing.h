#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "window_logic/window_view.h"

namespace bosquell {

// What the directory list shows for a directory: its ancestors from the root down, the
// directory itself (entry `current`), then its subdirectories sorted by name.
struct DirectoryListing {
  std::vector<DirectoryEntry> entries;
  int current = 0;
};
DirectoryListing ListDirectory(const std::string& directory);

// The names of the files in a directory that match "*.mis" in any letter case, sorted by name
// without regard to case. Directories are never listed, whatever their name. An unreadable
// directory lists nothing.
std::vector<std::string> ListMissionFiles(const std::string& directory);

// True when the name ends in ".mis" in any letter case.
bool IsMissionFileName(std::string_view name);

}  // namespace bosquell
