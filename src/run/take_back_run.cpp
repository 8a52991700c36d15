#include "run/take_back_run.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "common/same_file.h"
#include "common/utf8_path.h"
#include "files/atomic_output_file.h"
#include "files/file_buffers.h"
#include "files/mission_file.h"
#include "files/mission_stamp.h"
#include "files/temporary_names.h"
#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "placement/random_source.h"
#include "run/add_objects_run.h"
#include "run/run_redraw.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

using Kind = FileFailure::Kind;
using Status = TakeBackResult::Status;

TakeBackResult Failed(Kind kind, std::string path, std::error_code reason = {},
                      std::string detail = {}) {
  TakeBackResult result;
  result.failure = {kind, std::move(path), reason, std::move(detail)};
  return result;
}

std::error_code ReasonOr(const std::error_code& reason) {
  return reason ? reason : std::make_error_code(std::errc::io_error);
}

// The take-back proper; TakeBackRun adds the net for the unexpected.
TakeBackResult TakeBack(const TakeBackRequest& request, const ConfirmTakeBack& confirm) {
  if (!request.recipe.seed) return Failed(Kind::kRecipe, {}, {}, "it names no seed");
  auto compiled = CompileLayers(request.recipe.layers);
  if (const std::size_t* refused = std::get_if<std::size_t>(&compiled)) {
    return Failed(
        Kind::kRecipe, {}, {},
        "layer " + std::to_string(*refused + 1) + " holds a value that the draw cannot handle");
  }
  const auto& layers = std::get<std::vector<CompiledLayer>>(compiled);
  if (layers.empty()) return Failed(Kind::kRecipe, {}, {}, "it has no layer");

  std::error_code error;
  NativeFile mission = OpenMissionForReading(request.missionPath, error);
  if (!mission.IsOpen()) return Failed(Kind::kOpenMission, request.missionPath, error);
  const std::filesystem::path outputPath = PathFromUtf8(request.outputPath);
  if (request.outputPath.empty() || NamesSameFile(PathFromUtf8(request.missionPath), outputPath)) {
    return Failed(Kind::kOutputIsMission, request.outputPath);
  }

  // The mission is read again from its start for each search, and once more to write it.
  std::optional<FileReadBuffer> bytes;
  const auto fromStart = [&]() -> std::streambuf& {
    std::error_code rewindError;
    if (!Rewind(mission, rewindError)) {
      throw MissionStreamError(MissionStreamError::Side::kInput, rewindError.message());
    }
    bytes.emplace(mission);
    return *bytes;
  };
  const auto readFailure = [&] {
    return Failed(Kind::kReadMission, request.missionPath,
                  ReasonOr(bytes ? bytes->Error() : std::error_code()));
  };

  // The mission stays open while the user is asked. A write to it meanwhile would move the
  // records found, and a file saved in its place would be lost from the output: either is told
  // by a stamp, of the open file or of the path.
  const MissionStamp stamp = StampOf(mission);
  TakeBackResult result;
  bool unsettled = false;
  std::vector<DrawnObject> objects;
  try {
    RedrawnRun run = RedrawRun(layers, *request.recipe.seed, fromStart, request.options);
    result.rounds = run.rounds;
    result.report.records = std::move(run.records);
    unsettled = run.outcome == RedrawnRun::Outcome::kUnsettled;
    objects = std::move(run.drawn.objects);
    if (run.outcome == RedrawnRun::Outcome::kFellShort) {
      result.status = Status::kFellShort;
      return result;
    }
  } catch (const MissionStreamError&) {
    return readFailure();
  }
  if (result.report.records.removed == 0) {
    result.status = Status::kNothingFound;
    return result;
  }
  if (unsettled) {
    result.status = Status::kUnsettled;
    return result;
  }
  if (confirm) {
    if (!confirm(result.report, objects)) {
      result.status = Status::kDeclined;
      return result;
    }
    if (!(StampOf(mission) == stamp) || !(StampOf(request.missionPath) == stamp)) {
      result.status = Status::kMissionChanged;
      return result;
    }
  }
  AtomicOutputFile output(outputPath);
  if (!output.Open(error)) return Failed(Kind::kCreateOutput, request.outputPath, error);
  {
    OutputBuffer buffer(output.Buffer());
    try {
      result.report.countLines = WriteWithoutRunRecords(fromStart(), buffer, result.report.records);
    } catch (const MissionStreamError& failure) {
      if (failure.side() == MissionStreamError::Side::kInput) return readFailure();
      return Failed(Kind::kWriteOutput, request.outputPath, ReasonOr(output.WriteError()));
    }
    if (!buffer.Flush()) {
      return Failed(Kind::kWriteOutput, request.outputPath, ReasonOr(output.WriteError()));
    }
  }
  if (!output.Commit(error)) return Failed(Kind::kSaveOutput, request.outputPath, error);
  result.status = Status::kWritten;
  return result;
}

// Removes the file at its end, whatever happened.
class RemovedAtEnd {
 public:
  explicit RemovedAtEnd(std::filesystem::path path) : path_(std::move(path)) {}
  RemovedAtEnd(const RemovedAtEnd&) = delete;
  RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;
  ~RemovedAtEnd() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

TakeBackResult TakeBackRun(const TakeBackRequest& request, const ConfirmTakeBack& confirm) {
  try {
    return TakeBack(request, confirm);
  } catch (const std::exception& failure) {
    TakeBackResult result;
    result.failure = FailedRun(failure).failure;
    return result;
  }
}

ReplaceRunResult ReplaceRun(const TakeBackRequest& request, const Recipe& newRecipe) {
  ReplaceRunResult result;
  const std::filesystem::path outputPath = PathFromUtf8(request.outputPath);
  if (request.outputPath.empty() || NamesSameFile(PathFromUtf8(request.missionPath), outputPath)) {
    result.takenBack = Failed(Kind::kOutputIsMission, request.outputPath);
    return result;
  }
  // Named as a temporary of the output, so that one a killed run leaves is removed by the next
  // run that writes that output.
  const RemovedAtEnd between(TemporaryNameFor(outputPath, CurrentProcessId(), FreshSalt()));
  TakeBackRequest first = request;
  first.outputPath = Utf8FromPath(between.Path());
  result.takenBack = TakeBackRun(first);
  if (result.takenBack.status != Status::kWritten) {
    if (result.takenBack.status == Status::kFailed) {
      result.takenBack.failure.path = result.takenBack.failure.path == first.outputPath
                                          ? request.outputPath
                                          : result.takenBack.failure.path;
    }
    return result;
  }
  AddObjectsRequest second;
  second.recipe = newRecipe;
  second.missionPath = first.outputPath;
  second.outputPath = request.outputPath;
  MersenneRandom random(newRecipe.seed.value_or(0));
  random.StartRun();
  result.added = AddObjects(second, random);
  if (result.added.failure.path == second.missionPath) {
    result.added.failure.path = request.missionPath;
  }
  return result;
}

}  // namespace bosquell
