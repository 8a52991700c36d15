#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace bosquell {

// The separator of the platform's own paths: '\' on Windows, '/' elsewhere.
inline constexpr char kPathSeparator =
    static_cast<char>(std::filesystem::path::preferred_separator);

// The path of a file in a directory: the directory, the separator, the name. The separator is
// always inserted, also after a root that already ends in one ("C:\" and "a.mis" give
// "C:\\a.mis"); the path is kept in that form.
std::string JoinMissionPath(std::string_view directory, std::string_view fileName,
                            char separator = kPathSeparator);

// An absolute directory in the platform's own form: normalised, the platform's separators, and
// no separator at the end unless it is a root.
std::string NativeDirectory(std::string_view directory);

// The drive among `drives` that holds the path (the longest root the path lies under, its
// name compared as the system compares file names), or -1 when it lies under none.
int DriveOfPath(const std::vector<std::string>& drives, std::string_view path);

}  // namespace bosquell
