#include "recipe/background_image_path.h"

#include <filesystem>
#include <system_error>

#include "common/utf8_path.h"

namespace bosquell {
namespace {

std::filesystem::path Resolved(std::string_view recipePath, std::string_view image) {
  const std::filesystem::path picture = PathFromUtf8(image);
  if (picture.is_absolute()) return picture;
  return (PathFromUtf8(recipePath).parent_path() / picture).lexically_normal();
}

// The path from the current folder when it cannot be found, as it stands.
std::filesystem::path Absolute(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal();
}

// The absolute `picture` from the folder of the recipe at `toRecipePath`.
std::string RelativeOrAbsolute(const std::filesystem::path& picture,
                               std::string_view toRecipePath) {
  const std::filesystem::path folder = Absolute(PathFromUtf8(toRecipePath)).parent_path();
  const std::filesystem::path relative = picture.lexically_relative(folder);
  // Forward slashes read the same on every system; another drive leaves no relative path.
  if (relative.empty()) return Utf8FromPath(picture);
  const std::u8string generic = relative.generic_u8string();
  return std::string(generic.begin(), generic.end());
}

}  // namespace

std::string BackgroundImagePath(std::string_view recipePath, std::string_view image) {
  return Utf8FromPath(Resolved(recipePath, image));
}

std::string RebasedImagePath(std::string_view fromRecipePath, std::string_view toRecipePath,
                             std::string_view image) {
  if (PathFromUtf8(image).is_absolute()) return std::string(image);
  return RelativeOrAbsolute(Absolute(Resolved(fromRecipePath, image)), toRecipePath);
}

Recipe WithAbsoluteImage(Recipe recipe, std::string_view recipePath) {
  if (recipe.background) {
    recipe.background->image =
        Utf8FromPath(Absolute(Resolved(recipePath, recipe.background->image)));
  }
  return recipe;
}

Recipe WithImageRelativeTo(Recipe recipe, std::string_view recipePath) {
  if (recipe.background) {
    recipe.background->image =
        RelativeOrAbsolute(Absolute(PathFromUtf8(recipe.background->image)), recipePath);
  }
  return recipe;
}

}  // namespace bosquell
