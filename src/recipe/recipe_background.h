#pragma once

#include <optional>

#include "recipe/recipe.h"
#include "recipe/recipe_fields.h"

namespace bosquell::recipe_fields {

// The recipe's [background] table, or nothing when it has none.
std::optional<Background> ReadBackground(const Field& recipe);

}  // namespace bosquell::recipe_fields
