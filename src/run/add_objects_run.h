#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/window_operations.h"
#include "placement/placement.h"
#include "placement/random_source.h"

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

struct RunOutcome {
  enum class Status {
    kCompleted,   // the output file is written
    kEndedEarly,  // an input check failed; no file was touched
    kFailed,      // reading or writing failed; no output file was left behind
  };
  Status status = Status::kEndedEarly;
  std::string message;  // the text shown last
  int addedCount = 0;
  PlacementParameters placement;     // valid when completed
  std::vector<DrawnObject> objects;  // the appended objects, in file order, when completed
};

// One Add Objects run: checks the inputs in order, then writes the output as a copy of the
// mission with its count lines raised and the new objects appended. Every effect on the window
// goes through `window`; the input file is only ever read, and the output appears whole or not
// at all.
RunOutcome RunAddObjects(const RunInputs& inputs, WindowOperations& window, RandomSource& random);

}  // namespace bosquell
