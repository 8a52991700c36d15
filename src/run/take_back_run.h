#pragma once

#include <functional>
#include <span>
#include <string>

#include "run/add_objects_request.h"
#include "takeback/run_records.h"

namespace bosquell {

// A run to take back: the recipe that made it, its seed included, the mission it was made into
// (or that mission as an editor saved it since) and the copy to write without the run's objects.
// Paths are UTF-8.
struct TakeBackRequest {
  Recipe recipe;
  std::string missionPath;
  std::string outputPath;
  TakeBackOptions options;
};

struct TakeBackResult {
  enum class Status {
    kWritten,         // the output holds the mission without the run's records
    kNothingFound,    // not one record of the run is in the mission; nothing was written
    kFellShort,       // the recipe does not draw completely from this seed here; nothing written
    kUnsettled,       // keeping clear, no draw agrees with the mission; nothing was written
    kDeclined,        // the confirmation said no; nothing was written
    kMissionChanged,  // the mission was written or replaced while the confirmation was asked;
                      // nothing was written
    kFailed,          // reading, writing or the recipe failed; nothing was written
  };
  Status status = Status::kFailed;
  FileFailure failure;    // when failed
  TakeBackReport report;  // what became of the run's objects, once they were looked for
  int rounds = 0;         // how many draws it took (see RedrawRun)
};

// Asked once the run's records are found and before anything is written, with what was found
// and the run's objects as drawn (indexed as the report's fates): false writes nothing.
using ConfirmTakeBack =
    std::function<bool(const TakeBackReport& found, std::span<const DrawnObject> objects)>;

// Writes a copy of the mission without the objects the run of `request.recipe` added (see
// RedrawRun and RemoveObjects), whole or not at all, after `confirm` agrees when there is one.
// Whatever goes wrong is in the result.
TakeBackResult TakeBackRun(const TakeBackRequest& request, const ConfirmTakeBack& confirm = {});

struct ReplaceRunResult {
  TakeBackResult takenBack;
  AddObjectsResult added;  // when the run was taken back
};

// Takes the run back and plants `newRecipe` (its seed set) in its place, into the request's
// output in one go: the mission without the run goes to a temporary file beside the output, which
// the new run reads and which is removed once it is done; the output appears only when both
// steps succeed.
ReplaceRunResult ReplaceRun(const TakeBackRequest& request, const Recipe& newRecipe);

}  // namespace bosquell
