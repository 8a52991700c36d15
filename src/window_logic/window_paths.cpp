#include "window_logic/window_paths.h"

#include "common/utf8_path.h"

namespace bosquell {
namespace {

char FoldCase(char c) {
  if (kNamesIgnoreCase && c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c;
}

bool IsSeparator(char c) {
  return c == '/' || c == kPathSeparator;
}

bool PathLiesUnder(std::string_view path, std::string_view root) {
  if (path.size() < root.size() || !SameName(path.substr(0, root.size()), root)) return false;
  // "/media/disk2" does not lie under "/media/disk".
  return path.size() == root.size() || IsSeparator(root.back()) || IsSeparator(path[root.size()]);
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

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
