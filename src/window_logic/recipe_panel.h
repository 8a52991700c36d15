#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recipe/recipe.h"
#include "window_logic/recipe_editor.h"

namespace bosquell {

// The last choice of the mix's combo box, after the built-in themes: the layer's own type ids
// with weights.
inline constexpr char kOwnIdsChoice[] = "Own ids";

// The number fields of the side panel that take text as it is typed.
enum class PanelField { kCount, kKeepClear, kSpacing, kClumps, kClumpRadius };

// A row of the own-ids table, as its two cells show it.
struct MixRowTexts {
  std::string typeId;
  std::string weight;
  bool operator==(const MixRowTexts&) const = default;
};

// Which of the current layer's fields take input: those its pattern has, and only while there
// is a layer.
struct PanelEnabled {
  bool layerFields = false;  // the mix, the pattern, the count and the shapes
  bool count = false;        // not while the layer fills its area
  bool fill = false;         // "even" only
  bool clumps = false;       // "clumped" only, with the radius
  bool removeLayer = false;
  bool layerUp = false;
  bool layerDown = false;
  bool removeMixRow = false;
  bool inclusion = false;  // an area is selected
  bool rules = false;      // keep clear and spacing: also without a layer while the boxes rule
  bool operator==(const PanelEnabled&) const = default;
};

// What the side panel beside the map's picture shows for the current layer, as plain texts and
// flags, so that every window fills its controls from one value after any change. Numbers are
// written with the fewest digits that read back as the same value: a value the user did not
// touch is shown exactly.
struct RecipePanel {
  std::vector<ListRow> layers;
  // The theme's name, or kOwnIdsChoice with `mixRows`.
  std::string mixChoice;
  std::vector<MixRowTexts> mixRows;
  Pattern pattern = Pattern::kUniform;
  std::string count;  // empty while filling
  bool fill = false;
  std::string spacing;    // empty for 0: off
  std::string keepClear;  // empty for 0: off
  std::string clumps;     // empty unless "clumped"
  std::string clumpRadius;
  std::vector<ListRow> shapes;
  bool selectedExcludes = false;  // of the selected area
  PanelEnabled enabled;
  bool operator==(const RecipePanel&) const = default;
};

// The panel for the editor's current layer.
RecipePanel PanelOf(const RecipeEditor& editor);

// The mix combo's choices: the built-in themes in the main window's order, then kOwnIdsChoice.
std::vector<std::string> MixChoices();

// The row a layer's mix starts its own ids with when the user leaves the theme `theme`: the
// theme's first type id; empty for a name that is no theme.
std::string FirstTypeIdOf(std::string_view theme);

// The pattern combo's choices, in the order it lists them (named by PatternName).
inline constexpr Pattern kPatterns[] = {Pattern::kUniform, Pattern::kEven, Pattern::kClumped};

// Whether a field may keep the user's text when the model's is `modelText`: the same text, or
// the same number written another way ("1.50" for "1.5"; for the rule fields, "0" for empty).
// A window refills a field only when it does not, so that refilling never rewrites what the
// user typed.
bool FieldShows(std::string_view fieldText, std::string_view modelText);

}  // namespace bosquell
