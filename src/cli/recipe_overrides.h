#pragma once

#include <string>
#include <variant>

#include "cli/command_line.h"
#include "recipe/recipe.h"

namespace bosquell {

// The recipe a run with --recipe plants: the file's, with what the options beside it override.
// --seed replaces the recipe's seed. --theme or --id (a number of at most six characters, which
// wins over the theme as in the window), --count (read as the count box reads it; it turns a
// fill into a count), --keep-clear and --spacing replace the fields of a recipe's one layer, and
// a recipe of several layers refuses them. Either the recipe or why the options do not fit it.
std::variant<std::string, Recipe> OverriddenRecipe(Recipe recipe, const CommandLine& line);

}  // namespace bosquell
