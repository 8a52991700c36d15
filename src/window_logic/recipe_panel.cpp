#include "window_logic/recipe_panel.h"

#include "common/number_text.h"
#include "placement/tree_themes.h"

namespace bosquell {
namespace {

// A distance where 0 leaves the rule off: an empty field, as the boxes start.
std::string RuleText(double value) {
  return value == 0 ? std::string() : NumberText(value);
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

RecipePanel PanelOf(const RecipeEditor& editor) {
  RecipePanel panel;
  panel.layers = editor.LayerRows();
  const std::vector<Layer>& layers = editor.Current().layers;
  const std::size_t current = editor.CurrentLayer();
  if (current >= layers.size()) {
    panel.mixChoice = std::string(ThemeListOrder().front());
    return panel;
  }
  const Layer& layer = layers[current];
  if (const auto* theme = std::get_if<ThemeMix>(&layer.mix)) {
    panel.mixChoice = theme->name;
  } else {
    panel.mixChoice = kOwnIdsChoice;
    for (const WeightedType& type : std::get<WeightedMix>(layer.mix).types) {
      panel.mixRows.push_back({type.typeText, NumberText(type.weight)});
    }
  }
  panel.pattern = layer.pattern;
  panel.fill = layer.fill;
  if (!layer.fill) panel.count = NumberText(layer.count);
  panel.spacing = RuleText(layer.spacing);
  panel.keepClear = RuleText(layer.keepClear);
  const bool clumped = layer.pattern == Pattern::kClumped;
  if (clumped) {
    panel.clumps = NumberText(layer.clumps);
    panel.clumpRadius = NumberText(layer.clumpRadius);
  }
  panel.shapes = editor.ShapeRows();
  const std::optional<std::size_t> selected = editor.Selected();
  const bool hasSelection = selected && *selected < layer.areas.size();
  if (hasSelection) panel.selectedExcludes = layer.areas[*selected].exclude;

  PanelEnabled& enabled = panel.enabled;
  enabled.layerFields = true;
  enabled.count = !layer.fill;
  enabled.fill = layer.pattern == Pattern::kEven;
  enabled.clumps = clumped;
  enabled.removeLayer = true;
  enabled.layerUp = current > 0;
  enabled.layerDown = current + 1 < layers.size();
  enabled.removeMixRow = !panel.mixRows.empty();
  enabled.inclusion = hasSelection;
  enabled.rules = true;
  return panel;
}

std::vector<std::string> MixChoices() {
  std::vector<std::string> choices(ThemeListOrder().begin(), ThemeListOrder().end());
  choices.emplace_back(kOwnIdsChoice);
  return choices;
}

std::string FirstTypeIdOf(std::string_view theme) {
  const TreeTheme* found = FindTreeTheme(theme);
  if (found == nullptr || found->typeIds.empty()) return {};
  return NumberText(found->typeIds.front());
}

bool FieldShows(std::string_view fieldText, std::string_view modelText) {
  if (fieldText == modelText) return true;
  const auto number = [](std::string_view text) { return IsBlank(text) ? 0.0 : TextValue(text); };
  const auto readable = [](std::string_view text) { return IsBlank(text) || TextIsNumeric(text); };
  // An empty text stands for 0 only where the model writes 0 as empty.
  if (IsBlank(fieldText) != IsBlank(modelText) && !IsBlank(modelText)) return false;
  return readable(fieldText) && readable(modelText) && number(fieldText) == number(modelText);
}

}  // namespace bosquell
