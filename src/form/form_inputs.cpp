#include "form/form_inputs.h"

#include <optional>
#include <utility>

#include "common/number_text.h"
#include "placement/placement_rules.h"
#include "placement/tree_themes.h"

namespace bosquell {
namespace {

constexpr std::string_view kNoThemeMessage =
    "You have to select a Tree Theme or enter you own Object ID First!, Thank You";
constexpr std::string_view kNoFileMessage = "First Open a file!, Thank You";
constexpr std::string_view kNotNumbersMessage = "Please only enter Numbers!";
constexpr std::string_view kRangeMessage = "You have to enter a Positive Intiger in the Range!";
constexpr std::string_view kCountMessage =
    "You have to put a number 1 ot greater in the 'Number of objects to add' box!";
constexpr std::string_view kCountTooLargeMessage =
    "You have to put a number smaller than 32767 in the 'Number of objects to add' box!";
constexpr std::string_view kTooLargeMessage =
    "The Range or the Center Offset is too large, please enter smaller Numbers!";
constexpr std::string_view kKeepClearMessage =
    "You have to enter a number 0 or greater in the 'Keep clear' box, or leave it empty!";
constexpr std::string_view kSpacingMessage =
    "You have to enter a number 0 or greater in the 'Spacing' box, or leave it empty!";

}  // namespace

std::variant<std::string, Layer> BoxesLayer(const RunInputs& inputs) {
  if (inputs.themeText == kThemePrompt && inputs.ownIdText.empty()) {
    return std::string(kNoThemeMessage);
  }
  // The own id as a mix of one type picks it as the main window picks its one slot: with one
  // random unit, every time.
  Layer layer;
  if (!inputs.ownIdText.empty() && TextIsNumeric(inputs.ownIdText)) {
    layer.mix = WeightedMix{{WeightedType{inputs.ownIdText, 1}}};
  } else {
    // No theme matched and the own id is no number (blanks, letters, an emptied theme box):
    // every object would get an empty type, so no theme has been chosen after all.
    if (FindTreeTheme(inputs.themeText) == nullptr) return std::string(kNoThemeMessage);
    layer.mix = ThemeMix{inputs.themeText};
  }

  for (const std::string* text : {&inputs.centerXText, &inputs.rangeYText, &inputs.centerYText,
                                  &inputs.rangeXText, &inputs.countText}) {
    if (!TextIsNumeric(*text)) {
      return std::string(kNotNumbersMessage);
    }
  }
  if (TextValue(inputs.rangeYText) < 1 || TextValue(inputs.rangeXText) < 1) {
    return std::string(kRangeMessage);
  }
  const double objectCount = TextValue(inputs.countText);
  if (objectCount < 1) return std::string(kCountMessage);

  // The count line is raised by the number of blocks actually appended, so a count with a
  // fraction cannot leave the file's count out of step with its objects.
  const double roundedCount = RoundHalfEven(objectCount);
  if (!(roundedCount <= kMaxObjectCount)) {
    return std::string(kCountTooLargeMessage);
  }
  const auto placement =
      MakePlacement(inputs.centerXText, inputs.centerYText, inputs.rangeXText, inputs.rangeYText);
  if (!placement) return std::string(kTooLargeMessage);
  const std::optional<double> keepClear = RuleDistance(inputs.keepClearText);
  if (!keepClear) return std::string(kKeepClearMessage);
  const std::optional<double> spacing = RuleDistance(inputs.spacingText);
  if (!spacing) return std::string(kSpacingMessage);

  // The boxes' area is one rectangle, in user units as the boxes read. The rules go back to user
  // units too: dividing by 256 gives exactly the number read.
  layer.count = static_cast<int>(roundedCount);
  layer.keepClear = *keepClear / kMapUnitsPerUserUnit;
  layer.spacing = *spacing / kMapUnitsPerUserUnit;
  const RectangleArea rectangle{{TextValue(inputs.centerXText), TextValue(inputs.centerYText)},
                                {TextValue(inputs.rangeXText), TextValue(inputs.rangeYText)}};
  layer.areas.push_back({rectangle, false});
  return layer;
}

std::variant<std::string, AddObjectsRequest> CheckRunInputs(const RunInputs& inputs) {
  if (inputs.recipe) {
    // The map's editor holds its recipe to the reader's rules; what is left for the run to
    // refuse (an empty layer, too many objects) it refuses with its own message.
    if (inputs.missionPath.empty()) return std::string(kNoFileMessage);
    AddObjectsRequest request;
    request.recipe = *inputs.recipe;
    request.missionPath = inputs.missionPath;
    request.outputPath = inputs.outputPath;
    return request;
  }
  if (inputs.themeText == kThemePrompt && inputs.ownIdText.empty()) {
    return std::string(kNoThemeMessage);
  }
  if (inputs.missionPath.empty()) {
    return std::string(kNoFileMessage);
  }
  std::variant<std::string, Layer> layer = BoxesLayer(inputs);
  if (std::string* problem = std::get_if<std::string>(&layer)) return std::move(*problem);
  AddObjectsRequest request;
  request.recipe.layers.push_back(std::move(std::get<Layer>(layer)));
  request.missionPath = inputs.missionPath;
  request.outputPath = inputs.outputPath;
  return request;
}

}  // namespace bosquell
