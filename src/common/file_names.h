#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace bosquell {

// True when the two texts are the same file name on this system. Windows folds letter case as
// its file systems do, in every script and letter by letter ("Ä.MIS" names "ä.mis", "STRASSE"
// does not name "straße"); Linux compares the names exactly. Whole paths compare the same way,
// text for text: no normalising, no look at the disk.
bool SameFileName(std::string_view a, std::string_view b);  // UTF-8
bool SameFileName(const std::filesystem::path& a, const std::filesystem::path& b);
inline bool SameFileName(const std::string& a, const std::string& b) {
  return SameFileName(std::string_view(a), std::string_view(b));
}

}  // namespace bosquell
