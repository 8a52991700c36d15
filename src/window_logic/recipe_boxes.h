#pragma once

#include <optional>
#include <string>
#include <variant>

#include "form/form_inputs.h"
#include "recipe/recipe.h"

namespace bosquell {

// The main window's boxes and the map's recipe, both ways, while the recipe is what the boxes
// can say: one layer, one include rectangle, a theme or one own id of weight 1, "uniform", a
// count. The seed is the map's and stays out of it.

// The texts the boxes take for such a recipe.
struct BoxTexts {
  std::optional<std::string> theme;  // the theme's name; none leaves the theme box as it is
  std::string ownId;                 // empty with a theme: an own id would win over it
  std::string centerX;
  std::string centerY;
  std::string rangeX;
  std::string rangeY;
  std::string count;
  std::string keepClear;  // empty for a rule left off
  std::string spacing;
  bool operator==(const BoxTexts&) const = default;
};

inline constexpr std::string_view kMoreThanTheBoxes = "the recipe is more than the boxes";

// The boxes' texts for the recipe, or kMoreThanTheBoxes.
std::variant<std::string, BoxTexts> BoxTextsOf(const Recipe& recipe);

// The recipe of one layer the boxes draw (the run's checks but the open file's), or the
// message of the first check that fails.
std::variant<std::string, Recipe> RecipeOfBoxes(const RunInputs& inputs);

}  // namespace bosquell
