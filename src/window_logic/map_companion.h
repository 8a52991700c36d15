#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/add_objects_request.h"

namespace bosquell {

// The map window as the main window sees it: told when what a run would read changes, and asked
// what the run takes from it. With the map closed a run takes nothing from it.
class MapCompanion {
 public:
  virtual ~MapCompanion() = default;

  // A mission was opened, and is read again even when it is the one open already; or the opened
  // one was forgotten ("" after a run).
  virtual void MissionChanged(const std::string& missionPath) = 0;
  // A text a run reads changed: a number box, the own id or the theme box's text.
  virtual void InputsChanged() = 0;
  // A run has ended: `written` holds the objects it appended, none when it wrote nothing.
  virtual void RunEnded(const std::vector<DrawnObject>& written) = 0;

  // Called before a run, and after a run that found the mission changed: when the mission on
  // disk is no longer the one the map shows, the map reads it again and shows it, and the answer
  // is true: the run must write nothing, since the user has not seen what it would write. False
  // when the map shows the mission as it is, so that the run writes what the map shows.
  virtual bool RereadIfMissionChanged() = 0;
  // The seed a run starts from instead of the clock: that of the objects the map shows.
  virtual std::optional<std::uint32_t> RunSeed() const = 0;
  // What the run must write: the objects the map shows, into the mission as the map read it.
  // Nothing while the map is closed.
  virtual std::optional<ExpectedObjects> Expected() const = 0;
  // The placement rules' texts as the map last had them, also after it closed: what the user set
  // stays set.
  virtual std::string KeepClearText() const = 0;
  virtual std::string SpacingText() const = 0;
  // The map's recipe while the user has made it more than the boxes can say (a second layer, a
  // polygon ...), also after the map closed: the run draws it instead of the boxes. Nothing
  // while the recipe is the boxes' own.
  virtual std::optional<Recipe> RunRecipe() const = 0;
};

}  // namespace bosquell
