#include "cli/recipe_overrides.h"

#include <optional>
#include <utility>
#include <vector>

#include "common/number_text.h"
#include "placement/placement.h"
#include "placement/placement_rules.h"
#include "run/add_objects_request.h"

namespace bosquell {
namespace {

// The own-id box takes this many characters, and a recipe no longer a type id.
constexpr std::size_t kMaxOwnIdLength = 6;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// A rule's distance as the boxes read it, in user units.
std::optional<double> UserDistance(const std::string& text) {
  const std::optional<double> mapUnits = RuleDistance(text);
  if (!mapUnits) return std::nullopt;
  return *mapUnits / kMapUnitsPerUserUnit;
}

// The options that replace a layer's fields, in the order --help lists them.
std::vector<std::string> LayerOptions(const CommandLine& line) {
  std::vector<std::string> given;
  if (line.theme) given.emplace_back("--theme");
  if (line.ownId) given.emplace_back("--id");
  if (line.countGiven) given.emplace_back("--count");
  if (line.keepClearGiven) given.emplace_back("--keep-clear");
  if (line.spacingGiven) given.emplace_back("--spacing");
  return given;
}

// Why the layer's fields cannot take the options, or "".
std::string Override(Layer& layer, const CommandLine& line) {
  if (line.ownId && TextIsNumeric(*line.ownId) && line.ownId->size() <= kMaxOwnIdLength) {
    layer.mix = WeightedMix{{WeightedType{*line.ownId, 1}}};
  } else if (line.theme) {
    layer.mix = ThemeMix{*line.theme};
  } else if (line.ownId) {
    return "--id must be one number of at most " + std::to_string(kMaxOwnIdLength) +
           " characters, not " + Quoted(*line.ownId);
  }
  if (line.countGiven) {
    const double count = RoundHalfEven(TextValue(line.countText));
    if (!TextIsNumeric(line.countText) || !(count >= 1 && count <= kMaxObjectCount)) {
      return "--count must be a number from 1 to " + std::to_string(kMaxObjectCount) + ", not " +
             Quoted(line.countText);
    }
    layer.count = static_cast<int>(count);
    layer.fill = false;
  }
  const auto distance = [](const std::string& option, const std::string& text, double& field) {
    const std::optional<double> read = UserDistance(text);
    if (!read) return option + " must be a number 0 or greater, not " + Quoted(text);
    field = *read;
    return std::string();
  };
  if (line.keepClearGiven) {
    if (std::string why = distance("--keep-clear", line.keepClearText, layer.keepClear);
        !why.empty()) {
      return why;
    }
  }
  if (line.spacingGiven) {
    if (std::string why = distance("--spacing", line.spacingText, layer.spacing); !why.empty()) {
      return why;
    }
    if (layer.pattern == Pattern::kEven && !(layer.spacing > 0)) {
      return "--spacing must be greater than 0 for a layer of pattern \"even\"";
    }
  }
  return {};
}

}  // namespace

std::variant<std::string, Recipe> OverriddenRecipe(Recipe recipe, const CommandLine& line) {
  if (line.seed) recipe.seed = line.seed;
  const std::vector<std::string> given = LayerOptions(line);
  if (given.empty()) return recipe;
  if (recipe.layers.size() != 1) {
    return given.front() + " overrides a field of a recipe's one layer, and this recipe has " +
           std::to_string(recipe.layers.size()) + " layers: change them in the recipe itself";
  }
  if (std::string why = Override(recipe.layers.front(), line); !why.empty()) return why;
  return recipe;
}

}  // namespace bosquell
