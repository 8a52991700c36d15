#include "run/run_inputs.h"

#include <optional>

#include "common/number_text.h"

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

std::variant<std::string, CheckedInputs> CheckRunInputs(const RunInputs& inputs) {
  CheckedInputs checked;
  if (inputs.themeText == kThemePrompt && inputs.ownIdText.empty()) {
    return std::string(kNoThemeMessage);
  }
  if (inputs.missionPath.empty()) {
    return std::string(kNoFileMessage);
  }

  if (!inputs.ownIdText.empty() && TextIsNumeric(inputs.ownIdText)) {
    FillFromOwnId(checked.slots, inputs.ownIdText);
  } else {
    FillFromTheme(checked.slots, inputs.themeText);
  }
  checked.topSlot = TopSlot(checked.slots);

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
  checked.count = static_cast<int>(roundedCount);
  const auto placement =
      MakePlacement(inputs.centerXText, inputs.centerYText, inputs.rangeXText, inputs.rangeYText);
  if (!placement) return std::string(kTooLargeMessage);
  checked.placement = *placement;
  const std::optional<double> keepClear = RuleDistance(inputs.keepClearText);
  if (!keepClear) return std::string(kKeepClearMessage);
  const std::optional<double> spacing = RuleDistance(inputs.spacingText);
  if (!spacing) return std::string(kSpacingMessage);
  checked.rules = {*keepClear, *spacing};
  return checked;
}

std::string NotAllPlacedText(std::size_t placed, int count) {
  return "Only " + NumberText(static_cast<double>(placed)) + " of the " + NumberText(count) +
         " objects could be placed while keeping the Keep clear and Spacing distances, please "
         "enter a larger Range or smaller distances!";
}

}  // namespace bosquell
