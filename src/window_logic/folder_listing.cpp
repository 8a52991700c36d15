#include "window_logic/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/utf8_path.h"

namespace bosquell {
namespace {

namespace fs = std::filesystem;

// Names starting with a dot are hidden by convention outside Windows.
#ifdef _WIN32
constexpr bool kDotNamesHidden = false;
#else
constexpr bool kDotNamesHidden = true;
#endif

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto lowerLess = [](char x, char y) { return Lower(x) < Lower(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerLess)) return false;
  return a < b;  // names that differ only in case keep one fixed order
}

// The sorted names of the directory's entries that `keep` accepts.
template <typename Keep>
std::vector<std::string> NamesIn(const std::string& directory, Keep keep) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(PathFromUtf8(directory), error), end; !error && it != end;
       it.increment(error)) {
    std::string name;
    try {
      name = Utf8FromPath(it->path().filename());
    } catch (const fs::filesystem_error&) {
      // A Windows name with half of a UTF-16 pair has no UTF-8 spelling: it could be neither
      // shown nor opened, and is left out.
      continue;
    }
    if (kDotNamesHidden && name.starts_with('.')) continue;
    if (keep(*it)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  return names;
}

}  // namespace

DirectoryListing ListDirectory(const std::string& directory) {
  std::vector<fs::path> chain{PathFromUtf8(directory)};
  while (chain.front().has_relative_path())
    chain.insert(chain.begin(), chain.front().parent_path());

  DirectoryListing listing;
  int depth = 0;
  for (const fs::path& step : chain) {
    const fs::path shown = step.has_relative_path() ? step.filename() : step;
    listing.entries.push_back({Utf8FromPath(shown), Utf8FromPath(step), depth++, true});
  }
  listing.current = depth - 1;

  const std::vector<std::string> subdirectories =
      NamesIn(directory, [](const fs::directory_entry& entry) {
        std::error_code error;
        return entry.is_directory(error);
      });
  for (const std::string& name : subdirectories) {
    const fs::path path = chain.back() / PathFromUtf8(name);
    listing.entries.push_back({name, Utf8FromPath(path), depth, false});
  }
  return listing;
}

std::vector<std::string> ListMissionFiles(const std::string& directory) {
  return NamesIn(directory, [](const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error) && IsMissionFileName(Utf8FromPath(entry.path().filename()));
  });
}

bool IsMissionFileName(std::string_view name) {
  constexpr std::string_view kExtension = ".mis";
  if (name.size() < kExtension.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExtension.size());
  return std::equal(tail.begin(), tail.end(), kExtension.begin(),
                    [](char a, char b) { return Lower(a) == b; });
}

}  // namespace bosquell
