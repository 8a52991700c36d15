#include "recipe/recipe_file.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "common/utf8_path.h"
#include "files/platform_files.h"

namespace bosquell {

RecipeFileBytes ReadRecipeFile(std::string_view utf8Path) {
  RecipeFileBytes result;
  const auto refuse = [&](std::string_view why) {
    result.bytes.clear();
    result.problem = std::string(utf8Path) + ": the recipe cannot be read: " + std::string(why);
    return result;
  };

  std::error_code error;
  const NativeFile file = OpenRegularFileForReading(PathFromUtf8(utf8Path), error);
  if (!file.IsOpen()) return refuse(error.message());

  // One byte beyond the limit tells a file that is too large from one that just fits.
  constexpr std::size_t kPiece = 64 * 1024;
  std::string& bytes = result.bytes;
  while (bytes.size() <= kMaxRecipeFileBytes) {
    const std::size_t had = bytes.size();
    bytes.resize(had + std::min(kPiece, kMaxRecipeFileBytes + 1 - had));
    const std::ptrdiff_t got = ReadSome(file, bytes.data() + had, bytes.size() - had, error);
    if (got < 0) return refuse(error.message());
    bytes.resize(had + static_cast<std::size_t>(got));
    if (got == 0) return result;
  }
  return refuse("it is larger than " + std::to_string(kMaxRecipeFileBytes >> 20) +
                " MiB, the most a recipe may hold");
}

}  // namespace bosquell
