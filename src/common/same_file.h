#pragma once

#include <filesystem>

namespace bosquell {

// True when the two paths name one file: the same file on disk when both exist (also through
// links or another spelling), otherwise the same absolute path once normalised, compared as the
// file system compares names (without regard to letter case on Windows).
bool NamesSameFile(const std::filesystem::path& first, const std::filesystem::path& second);

}  // namespace bosquell
