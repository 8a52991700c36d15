// The form's checks on the texts of one run: every message in its order, and what texts that
// pass ask the engine for.

#include "form/form_inputs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace bosquell {
namespace {

const std::string kNoTheme =
    "You have to select a Tree Theme or enter you own Object ID First!, Thank You";
const std::string kNoFile = "First Open a file!, Thank You";
const std::string kNumbers = "Please only enter Numbers!";
const std::string kRange = "You have to enter a Positive Intiger in the Range!";
const std::string kCount =
    "You have to put a number 1 ot greater in the 'Number of objects to add' box!";
const std::string kCountTooLarge =
    "You have to put a number smaller than 32767 in the 'Number of objects to add' box!";
const std::string kTooLarge =
    "The Range or the Center Offset is too large, please enter smaller Numbers!";
const std::string kKeepClear =
    "You have to enter a number 0 or greater in the 'Keep clear' box, or leave it empty!";
const std::string kSpacing =
    "You have to enter a number 0 or greater in the 'Spacing' box, or leave it empty!";

RunInputs Valid() {
  RunInputs inputs;
  inputs.themeText = "Snow";
  inputs.centerXText = "0";
  inputs.centerYText = "0";
  inputs.rangeXText = "1";
  inputs.rangeYText = "1";
  inputs.countText = "2";
  inputs.missionPath = "forest.mis";
  inputs.outputPath = "forest_rnd.mis";
  return inputs;
}

// The message of the first failing check; "" when every check passes.
std::string MessageFor(const RunInputs& inputs) {
  const auto checked = CheckRunInputs(inputs);
  const std::string* message = std::get_if<std::string>(&checked);
  return message ? *message : std::string();
}

AddObjectsRequest RequestFor(const RunInputs& inputs) {
  return std::get<AddObjectsRequest>(CheckRunInputs(inputs));
}

// Each case breaks its own check and, where it matters, a later one too: the earlier message
// wins.
TEST(CheckRunInputs, ChecksInOrderAndStopsAtTheFirstFailure) {
  struct Case {
    std::function<void(RunInputs&)> change;
    std::string message;
  };
  std::vector<Case> cases = {
      {[](RunInputs& in) {
         in.themeText = std::string(kThemePrompt);
         in.missionPath.clear();
         in.countText.clear();
       },
       kNoTheme},
      {[](RunInputs& in) {
         in.missionPath.clear();
         in.countText.clear();
       },
       kNoFile},
      // No theme matched and the own id is no number: every type would be empty.
      {[](RunInputs& in) {
         in.themeText.clear();
         in.missionPath.clear();
       },
       kNoFile},
      {[](RunInputs& in) {
         in.themeText = std::string(kThemePrompt);
         in.ownIdText = "abc";
         in.countText = "x";
       },
       kNoTheme},
      {[](RunInputs& in) {
         in.themeText = std::string(kThemePrompt);
         in.ownIdText = "  ";
       },
       kNoTheme},
      {[](RunInputs& in) { in.themeText.clear(); }, kNoTheme},
      {[](RunInputs& in) { in.countText = "abc"; }, kNumbers},
      {[](RunInputs& in) { in.countText = ""; }, kNumbers},
      {[](RunInputs& in) { in.centerXText = "1 2"; }, kNumbers},
      {[](RunInputs& in) {
         in.rangeXText = "0";
         in.countText = "0";
       },
       kRange},
      {[](RunInputs& in) { in.rangeYText = "0.9"; }, kRange},
      {[](RunInputs& in) { in.countText = "0.5"; }, kCount},
      {[](RunInputs& in) { in.countText = "-3"; }, kCount},
      {[](RunInputs& in) {
         in.countText = "32766.6";
         in.rangeYText = "9e9";
       },
       kCountTooLarge},
      {[](RunInputs& in) {
         in.countText = "32766";
         in.rangeYText = "9e9";
         in.keepClearText = "-1";
       },
       kTooLarge},
  };
  // Distances that are no number 0 or greater.
  for (const char* text : {"-1", "-0.001", "abc", "1e999", "nan", "2 2", "1e"}) {
    cases.push_back({[text](RunInputs& in) {
                       in.keepClearText = text;
                       in.spacingText = text;
                     },
                     kKeepClear});
    cases.push_back({[text](RunInputs& in) { in.spacingText = text; }, kSpacing});
  }
  for (const Case& c : cases) {
    RunInputs inputs = Valid();
    c.change(inputs);
    EXPECT_EQ(MessageFor(inputs), c.message)
        << "theme '" << inputs.themeText << "' id '" << inputs.ownIdText << "' count '"
        << inputs.countText << "' keep clear '" << inputs.keepClearText << "'";
  }
}

TEST(CheckRunInputs, AnOwnIdThatIsANumberWinsOverTheTheme) {
  RunInputs inputs = Valid();
  inputs.ownIdText = " 77";
  AddObjectsRequest request = RequestFor(inputs);
  EXPECT_EQ(request.types.Slots().entries[0], " 77");
  EXPECT_EQ(request.types.Slots().entries[1], "");
  EXPECT_EQ(request.types.TopSlot(), 0);

  // One that is no number leaves the theme's ids.
  inputs.ownIdText = "77a";
  request = RequestFor(inputs);
  ThemeSlots snow;
  FillFromTheme(snow, "Snow");
  EXPECT_EQ(request.types.Slots().entries, snow.entries);
  EXPECT_EQ(request.types.TopSlot(), TopSlot(snow));
}

TEST(CheckRunInputs, PassingTextsBecomeTheRequest) {
  RunInputs inputs = Valid();
  inputs.centerXText = "2";
  inputs.centerYText = "-1";
  inputs.rangeXText = "3";
  inputs.rangeYText = " 2";
  inputs.keepClearText = "1.5";
  const AddObjectsRequest request = RequestFor(inputs);
  EXPECT_EQ(request.placement, MakePlacement("2", "-1", "3", "2").value());
  EXPECT_EQ(request.rules.keepClear, 1.5 * 256);
  EXPECT_EQ(request.rules.spacing, 0);
  EXPECT_EQ(request.missionPath, "forest.mis");
  EXPECT_EQ(request.outputPath, "forest_rnd.mis");
  EXPECT_FALSE(request.expected);

  // A count with a fraction is rounded, halves to the even neighbour, and the count line is
  // raised by what is written.
  for (const auto& [text, count] : {std::pair{"2.5", 2}, {"1.5", 2}, {"32766.4", 32766}}) {
    inputs.countText = text;
    EXPECT_EQ(RequestFor(inputs).count, count) << text;
  }
  // An empty or blank distance, or 0, leaves a rule off.
  for (const char* off : {"", "  ", "0"}) {
    inputs.keepClearText = off;
    inputs.spacingText = off;
    const PlacementRules rules = RequestFor(inputs).rules;
    EXPECT_EQ(rules.keepClear, 0) << off;
    EXPECT_EQ(rules.spacing, 0) << off;
  }
}

}  // namespace
}  // namespace bosquell
