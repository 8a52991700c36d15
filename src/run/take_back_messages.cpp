#include "run/take_back_messages.h"

#include "run/run_messages.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

constexpr char kNothingSaved[] =
    "Nothing has been saved, and no earlier output file has been changed.";

}  // namespace

std::vector<std::string> NotTakenBackLines(const TakeBackResult& result,
                                           const TakeBackRequest& request) {
  using Status = TakeBackResult::Status;
  const std::string seed = std::to_string(request.recipe.seed.value_or(0));
  switch (result.status) {
    case Status::kWritten:
      return {};
    case Status::kNothingFound: {
      std::vector<std::string> lines{
          "Not one object of the run of seed " + seed + " is in the mission file:",
          request.missionPath};
      for (std::string& line : TakeBackReportLines(result.report)) lines.push_back(std::move(line));
      lines.emplace_back(kNothingSaved);
      return lines;
    }
    case Status::kFellShort:
      return {"The recipe does not place all its objects from seed " + seed +
                  " around the objects of the mission file, so no run of it made this file:",
              request.missionPath, kNothingSaved};
    case Status::kUnsettled:
      return {
          "The run kept clear of the mission's objects, and no draw of it agrees with the "
          "mission file:",
          request.missionPath,
          "Objects may have been put close to its trees since, or trees of its types stood "
          "close to them before; no tree has been taken away.",
          kNothingSaved};
    case Status::kDeclined:
      return {kNothingSaved};
    case Status::kMissionChanged:
      return {"The mission file has changed since the run's objects were found in it:",
              request.missionPath, kNothingSaved};
    case Status::kFailed:
      break;
  }
  AddObjectsResult failed;
  failed.status = AddObjectsResult::Status::kFailed;
  failed.failure = result.failure;
  return RunMessageLines(failed, request.outputPath);
}

std::vector<std::string> TakenBackLines(const TakeBackResult& result,
                                        const TakeBackRequest& request) {
  std::vector<std::string> lines = TakeBackReportLines(result.report);
  lines.emplace_back("The run has been taken back and the file has been saved to");
  lines.push_back(request.outputPath);
  return lines;
}

}  // namespace bosquell
