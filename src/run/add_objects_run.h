#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/window_operations.h"
#include "placement/placement.h"
#include "placement/random_source.h"
#include "run/run_inputs.h"

namespace bosquell {

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
