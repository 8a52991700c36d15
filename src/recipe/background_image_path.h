#pragma once

#include <string>
#include <string_view>

#include "recipe/recipe.h"

namespace bosquell {

// Where a recipe's background picture lies: `image` as the recipe writes it, relative to the
// folder of the recipe file at `recipePath` unless it is absolute. UTF-8 in and out.
std::string BackgroundImagePath(std::string_view recipePath, std::string_view image);

// `image`, as a recipe read from `fromRecipePath` writes it, for a recipe written to
// `toRecipePath`: relative to the new recipe's folder when the old path was relative and the two
// share a root, else the absolute path. An absolute `image` stays as it is.
std::string RebasedImagePath(std::string_view fromRecipePath, std::string_view toRecipePath,
                             std::string_view image);

// The recipe with its background picture's path absolute, as read from the recipe file at
// `recipePath`: what a window holds while the recipe may be saved elsewhere.
Recipe WithAbsoluteImage(Recipe recipe, std::string_view recipePath);

// The recipe as the file at `recipePath` writes it: its background picture's path relative to
// that file's folder with forward slashes, or absolute when there is none (another drive).
Recipe WithImageRelativeTo(Recipe recipe, std::string_view recipePath);

}  // namespace bosquell
