#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "placement/placement.h"
#include "recipe/recipe.h"

namespace bosquell {

// The questions and the message of "&Take back a run…", put in by the map window (modal boxes)
// and by tests (answers given in advance), so that nothing here waits on a user. Texts are UTF-8.
struct TakeBackPrompts {
  // The seed of the run, as the user typed it; nothing when the user cancels.
  std::function<std::optional<std::string>()> askSeed;
  // Yes or no to the question, while the map shows the run's trees that were found.
  std::function<bool(const std::string& question)> confirm;
  // A message box with an OK button.
  std::function<void(const std::string& text)> showMessage;
};

// What the map shows while the user is asked: the run's trees found in the mission and the
// report's first line; called again with neither once the question is answered.
using ShowFoundRun = std::function<void(std::vector<DrawnObject> found, std::string reportLine)>;

// The file a take-back writes: the mission's name with "_back.mis" in place of its ".mis" (or
// added to a name without one), as the command line names it; never the mission itself.
std::string TakeBackOutputPath(const std::string& missionPath);

// "&Take back a run…": asks for the seed (read as --seed reads it), draws the run of `recipe`
// from it again and finds its trees in the mission, shows them, asks, and writes the mission
// without them to TakeBackOutputPath, whole or not at all; then says how it went. Found nothing,
// it says so and writes nothing. It works on the caller's thread: a take-back of a mission of a
// million and a half objects (109 MB) takes about 0.2 s, under a second for larger records.
void TakeBackFlow(Recipe recipe, const std::string& missionPath, const TakeBackPrompts& prompts,
                  const ShowFoundRun& show);

}  // namespace bosquell
