#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace bosquell {

// Paths travel through the program as UTF-8 text; these convert at the file-system boundary so
// that names outside the ANSI code page survive on Windows.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace bosquell
