#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "placement/placement.h"
#include "placement/placement_rules.h"
#include "placement/theme_slots.h"

namespace bosquell {

// The texts of the window's inputs and the file state, as they stood when "Add Objects" was
// pressed. Paths are UTF-8.
struct RunInputs {
  std::string themeText;    // Combo1
  std::string ownIdText;    // Text6
  std::string centerXText;  // Text1
  std::string rangeYText;   // Text2
  std::string centerYText;  // Text3
  std::string rangeXText;   // Text4
  std::string countText;    // Text5
  // The placement rules, in user units; empty leaves a rule off.
  std::string keepClearText;  // no new object closer than this to an existing one
  std::string spacingText;    // no two new objects closer than this to each other
  std::string missionPath;    // empty when no file is open
  std::string outputPath;
};

// The texts the theme box and the number boxes start with.
inline constexpr std::string_view kThemePrompt = "Select Tree a Tree Theme:";
inline constexpr std::string_view kStatusSaved = "File has been saved with the ending _rnd.mis!";

// The most objects one run appends.
inline constexpr int kMaxObjectCount = 32766;

// What a run draws with, once its inputs have passed every check.
struct CheckedInputs {
  ThemeSlots slots;
  int topSlot = -1;
  int count = 0;
  PlacementParameters placement;
  PlacementRules rules;
};

// The checks of a run, in their order, made on the texts alone: no file is opened. Either the
// message of the first check that fails, or what the run draws with.
std::variant<std::string, CheckedInputs> CheckRunInputs(const RunInputs& inputs);

// Why a draw under the placement rules stopped: how many of the objects found a place.
std::string NotAllPlacedText(std::size_t placed, int count);

}  // namespace bosquell
