// The map's side panel as values: what it shows of a layer, and when a field keeps its text.

#include "window_logic/recipe_panel.h"

#include <gtest/gtest.h>

namespace bosquell::testing {
namespace {

Layer Forest(Mix mix, Pattern pattern) {
  Layer layer;
  layer.mix = std::move(mix);
  layer.pattern = pattern;
  layer.count = 100;
  layer.areas.push_back({CircleArea{{0, 0}, 50}, false});
  layer.areas.push_back({CircleArea{{0, 0}, 5}, true});
  return layer;
}

TEST(RecipePanelTest, ShowsTheCurrentLayerExactlyAndEnablesWhatItsPatternHas) {
  Layer even = Forest(WeightedMix{{{"1200", 2.5}, {"0x4b1", 1}}}, Pattern::kEven);
  even.fill = true;
  even.count = 0;
  even.spacing = 0.1 + 0.2;  // no short decimal: every digit must show
  Layer clumped = Forest(ThemeMix{"Jungel"}, Pattern::kClumped);
  clumped.clumps = 7;
  clumped.clumpRadius = 12.5;
  clumped.keepClear = 1e-7;
  struct Case {
    const char* name;
    std::vector<Layer> layers;
    std::size_t current;
    std::optional<std::size_t> selected;
    RecipePanel expected;  // its layers and shapes rows are checked for their count
  };
  const Case cases[] = {
      {"own ids, filled evenly",
       {even, clumped},
       0,
       1,
       {{},
        kOwnIdsChoice,
        {{"1200", "2.5"}, {"0x4b1", "1"}},
        Pattern::kEven,
        "",
        true,
        "0.30000000000000004",
        "",
        "",
        "",
        {},
        true,
        {true, false, true, false, true, false, true, true, true, true}}},
      {"a theme in clumps",
       {even, clumped},
       1,
       std::nullopt,
       {{},
        "Jungel",
        {},
        Pattern::kClumped,
        "100",
        false,
        "",
        "0.0000001",
        "7",
        "12.5",
        {},
        false,
        {true, true, false, true, true, true, false, false, false, true}}},
      {"no layer",
       {},
       0,
       std::nullopt,
       {{}, "Jungel", {}, Pattern::kUniform, "", false, "", "", "", "", {}, false, {}}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Recipe recipe;
    recipe.layers = test.layers;
    RecipeEditor editor(recipe);
    editor.SetCurrentLayer(test.current);
    editor.Select(test.selected);
    RecipePanel panel = PanelOf(editor);
    EXPECT_EQ(panel.layers.size(), test.layers.size());
    EXPECT_EQ(panel.shapes.size(), test.layers.empty() ? 0u : 2u);
    panel.layers.clear();
    panel.shapes.clear();
    EXPECT_EQ(panel, test.expected);
  }
}

TEST(RecipePanelTest, AFieldKeepsTheUsersWayOfWritingTheModelsValue) {
  const struct {
    const char* field;
    const char* model;
    bool keeps;
  } cases[] = {
      {"1.50", "1.5", true}, {"1e1", "10", true}, {"0", "", true},    {" ", "", true},
      {"", "0", false},      {"12", "1", false},  {"abc", "", false}, {"-", "5", false},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(FieldShows(test.field, test.model), test.keeps) << test.field << " / " << test.model;
  }
}

}  // namespace
}  // namespace bosquell::testing
