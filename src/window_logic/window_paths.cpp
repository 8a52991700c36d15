#include "window_logic/window_paths.h"

#include "common/file_names.h"
#include "common/utf8_path.h"

namespace bosquell {
namespace {

using Native = std::filesystem::path::string_type;

bool IsSeparator(Native::value_type c) {
  return c == '/' || c == static_cast<Native::value_type>(kPathSeparator);
}

bool PathLiesUnder(std::string_view path, std::string_view root) {
  // Cut in the system's own encoding, where one letter and its other case are one unit long.
  const Native full = PathFromUtf8(path).native();
  const Native base = PathFromUtf8(root).native();
  if (full.size() < base.size()) return false;
  if (!SameFileName(std::filesystem::path(full.substr(0, base.size())),
                    std::filesystem::path(base))) {
    return false;
  }
  // "/media/disk2" does not lie under "/media/disk".
  return full.size() == base.size() || IsSeparator(base.back()) || IsSeparator(full[base.size()]);
}

}  // namespace

std::string JoinMissionPath(std::string_view directory, std::string_view fileName, char separator) {
  std::string path(directory);
  path += separator;
  path += fileName;
  return path;
}

std::string NativeDirectory(std::string_view directory) {
  std::filesystem::path path = PathFromUtf8(directory).lexically_normal();
  path.make_preferred();
  if (path.has_relative_path() && !path.has_filename()) path = path.parent_path();
  return Utf8FromPath(path);
}

int DriveOfPath(const std::vector<std::string>& drives, std::string_view path) {
  int best = -1;
  for (std::size_t i = 0; i < drives.size(); ++i) {
    const std::string& root = drives[i];
    if (root.empty() || !PathLiesUnder(path, root)) continue;
    if (best < 0 || root.size() > drives[static_cast<std::size_t>(best)].size()) {
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace bosquell
