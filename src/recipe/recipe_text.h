#pragma once

#include <string>
#include <string_view>

#include "recipe/recipe.h"

namespace bosquell {

// The recipe as a TOML file that reads back as an equal recipe, bit for bit: the fields in the
// order of the documented example, numbers in the shortest form that reads back as the same
// double, type ids as the quoted keys they were typed as, one blank line between tables. Fields
// at their defaults are left out (no seed, a rule of 0, `exclude = false`, an opacity of 1).
std::string RecipeText(const Recipe& recipe);

// A pattern as a recipe names it: "uniform", "even" or "clumped".
std::string_view PatternName(Pattern pattern);

// The text as a TOML basic string, in double quotes, with what must be escaped escaped.
std::string QuotedTomlText(std::string_view text);

}  // namespace bosquell
