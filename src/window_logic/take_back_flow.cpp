#include "window_logic/take_back_flow.h"

#include <cstddef>
#include <span>
#include <utility>

#include "common/seed_text.h"
#include "mission/output_path.h"
#include "run/run_messages.h"
#include "run/take_back_messages.h"
#include "run/take_back_run.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

// The run's objects whose records were found and are to go.
std::vector<DrawnObject> FoundObjects(const RunRecords& records,
                                      std::span<const DrawnObject> objects) {
  std::vector<DrawnObject> found;
  for (std::size_t i = 0; i < records.fates.size() && i < objects.size(); ++i) {
    if (records.fates[i] == ObjectFate::kRemoved) found.push_back(objects[i]);
  }
  return found;
}

}  // namespace

std::string TakeBackOutputPath(const std::string& missionPath) {
  const std::size_t stem =
      HasMissionExtension(missionPath) ? missionPath.size() - 4 : missionPath.size();
  return missionPath.substr(0, stem) + "_back.mis";
}

void TakeBackFlow(Recipe recipe, const std::string& missionPath, const TakeBackPrompts& prompts,
                  const ShowFoundRun& show) {
  const std::optional<std::string> typed = prompts.askSeed();
  if (!typed) return;
  recipe.seed = SeedFromText(*typed);
  if (!recipe.seed) {
    prompts.showMessage("The seed must be a whole number from 0 to 4294967295, not \"" + *typed +
                        "\".\r\nNothing has been saved.");
    return;
  }
  const TakeBackRequest request{
      std::move(recipe), missionPath, TakeBackOutputPath(missionPath), {}};
  const auto confirm = [&](const TakeBackReport& found, std::span<const DrawnObject> objects) {
    const std::vector<std::string> report = TakeBackReportLines(found);
    show(FoundObjects(found.records, objects), report.front());
    const bool yes = prompts.confirm(JoinLines(report, "\r\n") +
                                     "\r\nSave the mission without the trees marked on the map "
                                     "to\r\n" +
                                     request.outputPath + "?");
    show({}, {});
    return yes;
  };
  const TakeBackResult result = TakeBackRun(request, confirm);
  if (result.status == TakeBackResult::Status::kDeclined) return;
  const std::vector<std::string> lines = result.status == TakeBackResult::Status::kWritten
                                             ? TakenBackLines(result, request)
                                             : NotTakenBackLines(result, request);
  prompts.showMessage(JoinLines(lines, "\r\n"));
}

}  // namespace bosquell
