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

// The boxes make a recipe of one layer: their rectangle as the boxes read it, the theme or the
// own id (as typed, a number winning over the theme), a uniform draw of the rounded count, and
// the rules in user units.
TEST(CheckRunInputs, PassingTextsBecomeARecipeOfOneLayer) {
  const auto layerWith = [](Mix mix, int count, RectangleArea area, double keepClear,
                            double spacing) {
    Layer layer;
    layer.mix = std::move(mix);
    layer.count = count;
    layer.keepClear = keepClear;
    layer.spacing = spacing;
    layer.areas = {{area, false}};
    return layer;
  };
  const RectangleArea unit{{0, 0}, {1, 1}};
  struct Case {
    std::function<void(RunInputs&)> change;
    Layer layer;
  };
  const Case cases[] = {
      {[](RunInputs&) {}, layerWith(ThemeMix{"Snow"}, 2, unit, 0, 0)},
      {[](RunInputs& in) { in.ownIdText = " 77"; },
       layerWith(WeightedMix{{{" 77", 1}}}, 2, unit, 0, 0)},
      {[](RunInputs& in) { in.ownIdText = "77a"; }, layerWith(ThemeMix{"Snow"}, 2, unit, 0, 0)},
      {[](RunInputs& in) {
         in.centerXText = "2";
         in.centerYText = "-1";
         in.rangeXText = "3.5";
         in.rangeYText = " 2";
         in.keepClearText = "1.5";
         in.spacingText = "  ";
       },
       layerWith(ThemeMix{"Snow"}, 2, {{2, -1}, {3.5, 2}}, 1.5, 0)},
      // A count with a fraction is rounded, halves to the even neighbour, and the count line is
      // raised by what is written.
      {[](RunInputs& in) { in.countText = "2.5"; }, layerWith(ThemeMix{"Snow"}, 2, unit, 0, 0)},
      {[](RunInputs& in) { in.countText = "1.5"; }, layerWith(ThemeMix{"Snow"}, 2, unit, 0, 0)},
      {[](RunInputs& in) {
         in.countText = "32766.4";
         in.spacingText = "0";
         in.keepClearText = "1e-320";
       },
       layerWith(ThemeMix{"Snow"}, 32766, unit, 1e-320, 0)},
  };
  for (const Case& c : cases) {
    RunInputs inputs = Valid();
    c.change(inputs);
    const AddObjectsRequest request = RequestFor(inputs);
    EXPECT_EQ(request.recipe, (Recipe{std::nullopt, std::nullopt, {c.layer}})) << inputs.ownIdText;
    EXPECT_EQ(request.missionPath, "forest.mis");
    EXPECT_EQ(request.outputPath, "forest_rnd.mis");
    EXPECT_FALSE(request.expected);
  }
}

}  // namespace
}  // namespace bosquell
