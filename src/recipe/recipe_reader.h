#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "recipe/recipe.h"

namespace bosquell {

// The recipe the TOML text holds, or the one message that refuses it, naming the file, the
// place and the field:
//   forest.toml:12:5: layer[2].area[1].circle.radius: must be greater than 0
// Lists count from 1 (layer[1] is the first layer). A text that is not TOML gets the TOML
// reader's own description; a problem of the whole file (no layer at all) stands at 1:1.
std::variant<std::string, Recipe> ParseRecipe(std::string_view text, std::string_view fileName);

// Why the reader would refuse the recipe once written, as the message names it without its file
// and place ("layer[1].area[2].polygon[3]: the edge from corner 3 ..."), or "" when it reads
// back. An editor holds its recipe to the reader's rules with it, rather than repeating them.
std::string CheckRecipe(const Recipe& recipe);

// The recipe in the file at the UTF-8 path (see ReadRecipeFile for the files refused before
// reading), or the message; `utf8Path` names the file in the message as given.
std::variant<std::string, Recipe> ReadRecipe(std::string_view utf8Path);

}  // namespace bosquell
