#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "run/add_objects_request.h"

namespace bosquell {

// The text the theme box shows while no theme is chosen.
inline constexpr std::string_view kThemePrompt = "Select Tree a Tree Theme:";

// The texts of one run's inputs as a form holds them when "Add Objects" is pressed, and the file
// state. Paths are UTF-8.
struct RunInputs {
  std::string themeText{kThemePrompt};  // a theme's name, or the prompt
  std::string ownIdText;                // an object type id of the user's own, or empty
  std::string centerXText;              // center offset X, user units
  std::string rangeYText;               // half-height of the scatter, user units
  std::string centerYText;              // center offset Y, user units
  std::string rangeXText;               // half-width of the scatter, user units
  std::string countText;                // number of objects to add
  // The placement rules, in user units; empty leaves a rule off.
  std::string keepClearText;  // no new object closer than this to an existing one
  std::string spacingText;    // no two new objects closer than this to each other
  std::string missionPath;    // empty when no file is open
  std::string outputPath;
  // The map's recipe, when the user made it more than the boxes can say: the run draws it in
  // place of the boxes' layer, and the texts above but the paths are not looked at.
  std::optional<Recipe> recipe;
};

// The checks of a run, in their order, made on the texts alone: no file is opened. Either the
// message of the first check that fails, or what the run draws and where it writes.
std::variant<std::string, AddObjectsRequest> CheckRunInputs(const RunInputs& inputs);

// The same checks but the one for an open file (paths are not looked at): the message of the
// first that fails, or the one rectangle layer the boxes draw.
std::variant<std::string, Layer> BoxesLayer(const RunInputs& inputs);

}  // namespace bosquell
