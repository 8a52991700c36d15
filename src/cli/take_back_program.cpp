#include "cli/take_back_program.h"

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "run/run_messages.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

constexpr char kNothingSaved[] =
    "Nothing has been saved, and no earlier output file has been changed.";

void WriteLines(const std::vector<std::string>& lines, std::ostream& to) {
  for (const std::string& line : lines) to << line << '\n';
}

// Why nothing was written, line by line; empty when the output was written.
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
    case Status::kFailed:
      break;
  }
  AddObjectsResult failed;
  failed.status = AddObjectsResult::Status::kFailed;
  failed.failure = result.failure;
  return RunMessageLines(failed, request.outputPath);
}

}  // namespace

int RemoveRunCommand(const TakeBackRequest& request, std::ostream& out, std::ostream& err) {
  const TakeBackResult result = TakeBackRun(request);
  if (const std::vector<std::string> lines = NotTakenBackLines(result, request); !lines.empty()) {
    WriteLines(lines, err);
    return kExitRunFailed;
  }
  WriteLines(TakeBackReportLines(result.report), out);
  out << "The run has been taken back and the file has been saved to\n"
      << request.outputPath << '\n';
  return kExitSuccess;
}

int ReplaceRunCommand(const TakeBackRequest& request, const Recipe& newRecipe, std::ostream& out,
                      std::ostream& err) {
  const ReplaceRunResult result = ReplaceRun(request, newRecipe);
  if (const std::vector<std::string> lines = NotTakenBackLines(result.takenBack, request);
      !lines.empty()) {
    WriteLines(lines, err);
    return kExitRunFailed;
  }
  const bool written = result.added.status == AddObjectsResult::Status::kWritten;
  std::ostream& to = written ? out : err;
  WriteLines(TakeBackReportLines(result.takenBack.report), to);
  WriteLines(RunMessageLines(result.added, request.outputPath), to);
  if (!written) return kExitRunFailed;
  out << "seed " << newRecipe.seed.value_or(0) << '\n';
  return kExitSuccess;
}

}  // namespace bosquell
