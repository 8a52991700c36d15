#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bosquell {

// The largest recipe file read. The parsed TOML takes up to about 48 bytes of memory for each
// byte of the file (a list of short points), so 1 MiB costs at most some 50 MB and a moment to
// read; it holds polygons and roads of tens of thousands of corners, far more than any forest
// drawn by hand or traced from a map needs.
inline constexpr std::size_t kMaxRecipeFileBytes = std::size_t{1} << 20;

// The bytes of a recipe file, or why they cannot be read.
struct RecipeFileBytes {
  std::string bytes;
  std::string problem;  // empty when the file was read; else the message, naming the file
};

// Reads the file at the UTF-8 path. A folder, a device, a pipe or a socket is refused without
// reading from it, and a file larger than kMaxRecipeFileBytes once that many bytes have been
// read, before anything is parsed.
RecipeFileBytes ReadRecipeFile(std::string_view utf8Path);

}  // namespace bosquell
