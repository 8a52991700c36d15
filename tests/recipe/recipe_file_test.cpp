// Recipe files: the files refused before they are parsed, names beyond ASCII, and the example.

#include "recipe/recipe_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../engine/test_support.h"
#include "common/utf8_path.h"
#include "recipe/recipe_reader.h"

namespace bosquell {
namespace {

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ReadRecipeFile, RefusesFoldersDevicesAndHugeFilesBeforeParsing) {
  const testing::TempDir folder;
  const std::string folderName = Utf8FromPath(folder.path());
  EXPECT_EQ(ReadRecipeFile(folderName).problem,
            folderName + ": the recipe cannot be read: it is a folder, not a file");
#ifdef _WIN32
  const std::string device = "NUL";
#else
  const std::string device = "/dev/zero";  // endless: it must not be read at all
#endif
  EXPECT_EQ(ReadRecipeFile(device).problem,
            device +
                ": the recipe cannot be read: it is not a regular file but a device, a pipe "
                "or a socket");

  const std::string full = Utf8FromPath(folder / "full.toml");
  WriteBytes(folder / "full.toml", std::string(kMaxRecipeFileBytes, '#'));
  const RecipeFileBytes read = ReadRecipeFile(full);
  EXPECT_EQ(read.problem, "");
  EXPECT_EQ(read.bytes.size(), kMaxRecipeFileBytes);
  WriteBytes(folder / "full.toml", std::string(kMaxRecipeFileBytes + 1, '#'));
  EXPECT_EQ(ReadRecipeFile(full).problem,
            full +
                ": the recipe cannot be read: it is larger than 1 MiB, the most a recipe may "
                "hold");
}

TEST(ReadRecipe, NamesTheFileAsGivenInUtf8) {
  const testing::TempDir folder;
  const std::string name = Utf8FromPath(folder.path()) + "/for\xc3\xaat \xe6\x9e\x97.toml";
  WriteBytes(PathFromUtf8(name), "seed = 7\nseed = 8\n");
  EXPECT_EQ(std::get<std::string>(ReadRecipe(name)),
            name +
                ":2:8: not valid TOML: error while parsing key-value pair: cannot redefine "
                "existing integer 'seed'");
}

// The example of the manual reads, and shows every field of a recipe.
TEST(ReadRecipe, ReadsTheForestExample) {
  const std::string path = BOSQUELL_EXAMPLES "/forest.toml";
  const auto read = ReadRecipe(path);
  ASSERT_TRUE(std::holds_alternative<Recipe>(read)) << std::get<std::string>(read);
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  for (const char* field :
       {"seed =", "[[layer]]", "mix =", "count =", "fill =", "pattern =", "spacing =",
        "keep-clear =", "clumps =", "clump-radius =", "[[layer.area]]",
        "rectangle =", "polygon =", "circle =", "corridor =", "exclude =", "[background]"}) {
    EXPECT_NE(text.find(field), std::string::npos) << field;
  }
}

}  // namespace
}  // namespace bosquell
