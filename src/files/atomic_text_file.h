#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace bosquell {

// Writes the bytes to a temporary file beside `path`, then renames it over `path`, so that
// `path` never holds a half-written file. Returns "" on success, else what went wrong; the
// temporary file is removed again on failure.
std::string WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace bosquell
