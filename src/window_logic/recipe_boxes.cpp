#include "window_logic/recipe_boxes.h"

#include <utility>

#include "common/number_text.h"

namespace bosquell {
namespace {

std::string RuleText(double distance) {
  return distance == 0 ? std::string() : NumberText(distance);
}

}  // namespace

std::variant<std::string, BoxTexts> BoxTextsOf(const Recipe& recipe) {
  const std::string more(kMoreThanTheBoxes);
  if (recipe.layers.size() != 1) return more;
  const Layer& layer = recipe.layers.front();
  if (layer.pattern != Pattern::kUniform || layer.fill || layer.areas.size() != 1) return more;
  const Area& area = layer.areas.front();
  const auto* rectangle = std::get_if<RectangleArea>(&area.shape);
  if (rectangle == nullptr || area.exclude) return more;

  BoxTexts texts;
  if (const auto* theme = std::get_if<ThemeMix>(&layer.mix)) {
    texts.theme = theme->name;
  } else {
    const auto& types = std::get<WeightedMix>(layer.mix).types;
    if (types.size() != 1 || types.front().weight != 1) return more;
    texts.ownId = types.front().typeText;
  }
  texts.centerX = NumberText(rectangle->center.x);
  texts.centerY = NumberText(rectangle->center.y);
  texts.rangeX = NumberText(rectangle->range.x);
  texts.rangeY = NumberText(rectangle->range.y);
  texts.count = std::to_string(layer.count);
  texts.keepClear = RuleText(layer.keepClear);
  texts.spacing = RuleText(layer.spacing);
  return texts;
}

std::variant<std::string, Recipe> RecipeOfBoxes(const RunInputs& inputs) {
  std::variant<std::string, Layer> layer = BoxesLayer(inputs);
  if (auto* problem = std::get_if<std::string>(&layer)) return std::move(*problem);
  Recipe recipe;
  recipe.layers.push_back(std::move(std::get<Layer>(layer)));
  return recipe;
}

}  // namespace bosquell
