#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "files/mission_stamp.h"
#include "placement/placement.h"
#include "recipe/recipe.h"

namespace bosquell {

// The most objects one run appends.
inline constexpr int kMaxObjectCount = 32766;

// What a run must write when someone has already been shown it: the mission as it was when the
// shown objects were drawn, and those objects; none when what was shown is still being drawn,
// so that the run only checks the mission.
struct ExpectedObjects {
  MissionStamp missionStamp;
  std::optional<std::vector<DrawnObject>> objects;
};

// What a run draws and where it writes. Paths are UTF-8.
struct AddObjectsRequest {
  // The layers drawn, in order; their counts together no more than kMaxObjectCount. The
  // recipe's seed is the caller's: it starts the random source.
  Recipe recipe;
  std::string missionPath;
  std::string outputPath;
  // When given, the run writes nothing unless it would write exactly these objects into a copy
  // of exactly this mission.
  std::optional<ExpectedObjects> expected;
};

// Why a run failed, and which file it was about.
struct FileFailure {
  enum class Kind {
    kOpenMission,      // the mission could not be opened, or is no regular file
    kReadMission,      // reading the opened mission failed
    kOutputIsMission,  // the output would replace the mission (or has no name)
    kCreateOutput,     // the output file could not be created
    kWriteOutput,      // writing the output failed
    kSaveOutput,       // the complete output could not be put in place
    kIdsExhausted,     // the new ids cannot continue exactly after the mission's last one
    kRecipe,           // the recipe cannot be drawn; `detail` says why
    kOutOfMemory,      // memory ran out
    kUnexpected,       // anything else; `detail` says what
  };
  Kind kind = Kind::kUnexpected;
  std::string path;
  std::error_code reason;
  std::string detail;
};

struct AddObjectsResult {
  enum class Status {
    kWritten,         // the output file is written
    kEndedEarly,      // not all objects found a place under the rules; nothing was written
    kOverfilled,      // a fill found room for more objects than the run may add; nothing written
    kMissionChanged,  // the objects or the mission are not those expected; nothing was written
    kFailed,          // reading or writing failed; no output file was left behind
  };
  Status status = Status::kFailed;
  // When ended early or overfilled: how many objects of the layer that fell short found a place,
  // and how many it asked for (for a fill, the room it had); which layer that was, counted from
  // 1, when the recipe has more than one, else 0.
  std::size_t placed = 0;
  std::size_t requested = 0;
  std::size_t layer = 0;
  FileFailure failure;                   // when failed
  std::vector<DrawnObject> objects;      // the appended objects, in file order, when written
  std::vector<std::size_t> layerCounts;  // how many of them each layer drew, when written
};

}  // namespace bosquell
