#include "cli/take_back_program.h"

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "run/run_messages.h"
#include "run/take_back_messages.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

void WriteLines(const std::vector<std::string>& lines, std::ostream& to) {
  for (const std::string& line : lines) to << line << '\n';
}

}  // namespace

int RemoveRunCommand(const TakeBackRequest& request, std::ostream& out, std::ostream& err) {
  const TakeBackResult result = TakeBackRun(request);
  if (const std::vector<std::string> lines = NotTakenBackLines(result, request); !lines.empty()) {
    WriteLines(lines, err);
    return kExitRunFailed;
  }
  WriteLines(TakenBackLines(result, request), out);
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
