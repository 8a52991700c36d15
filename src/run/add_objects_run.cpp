#include "run/add_objects_run.h"
#include "run/keep_clear_gathering.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "common/same_file.h"
#include "common/utf8_path.h"
#include "files/atomic_output_file.h"
#include "files/file_buffers.h"
#include "files/mission_file.h"
#include "files/mission_stamp.h"
#include "mission/input_window.h"
#include "mission/item_positions.h"
#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "placement/object_draw.h"
#include "placement/recipe_draw.h"

namespace bosquell {
namespace {

using Kind = FileFailure::Kind;
using Status = AddObjectsResult::Status;

AddObjectsResult Failed(Kind kind, std::string path, std::error_code reason = {}) {
  AddObjectsResult result;
  result.status = Status::kFailed;
  result.failure = {kind, std::move(path), reason, {}};
  return result;
}

AddObjectsResult Ended(Status status, std::size_t placed = 0, std::size_t requested = 0) {
  AddObjectsResult result;
  result.status = status;
  result.placed = placed;
  result.requested = requested;
  return result;
}

AddObjectsResult RecipeFailure(std::string why) {
  AddObjectsResult result = Failed(Kind::kRecipe, {});
  result.failure.detail = std::move(why);
  return result;
}

// How many objects layers with a count, and no fill, add.
double CountOf(const std::vector<CompiledLayer>& layers) {
  double count = 0;
  for (const CompiledLayer& layer : layers) count += layer.count;
  return count;
}

// The recipe's layers ready to draw, or the reason why they cannot be: the reader and the form
// refuse every such recipe before it comes here, so this is only a net.
std::variant<std::vector<CompiledLayer>, std::string> Compiled(const Recipe& recipe) {
  if (recipe.layers.empty()) return std::string("it has no layer");
  std::size_t counted = 0;
  for (const Layer& layer : recipe.layers) {
    if (layer.count > 0 && !layer.fill) counted += static_cast<std::size_t>(layer.count);
  }
  if (counted > kMaxObjectCount) {
    return "its layers count " + std::to_string(counted) + " objects together, more than the " +
           std::to_string(kMaxObjectCount) + " one run adds";
  }
  auto compiled = CompileLayers(recipe.layers);
  if (const std::size_t* refused = std::get_if<std::size_t>(&compiled)) {
    return "layer " + std::to_string(*refused + 1) + " holds a value that the draw cannot handle";
  }
  return std::move(std::get<std::vector<CompiledLayer>>(compiled));
}

// The reason of a failed read or write, or the likeliest one when the system gave none.
std::error_code ReasonOr(const std::error_code& reason) {
  return reason ? reason : std::make_error_code(std::errc::io_error);
}

// Ids count on one by one in a double, which holds whole numbers exactly only up to 2^53:
// beyond that, new ids would repeat.
bool IdsCanContinue(double firstId, double count) {
  constexpr double kLargestExact = 9007199254740992.0;
  const double magnitude = std::fabs(firstId);  // NaN and infinities fail the first test
  return magnitude < kLargestExact && count <= kLargestExact - magnitude;
}

// The run proper; AddObjects adds the net for the unexpected.
AddObjectsResult Run(const AddObjectsRequest& request, RandomSource& random) {
  auto compiled = Compiled(request.recipe);
  if (std::string* why = std::get_if<std::string>(&compiled)) return RecipeFailure(*why);
  const std::vector<CompiledLayer>& layers = std::get<std::vector<CompiledLayer>>(compiled);

  // The mission is opened first and checked as opened: a device, a pipe or a folder is refused
  // before any output exists.
  const std::filesystem::path missionPath = PathFromUtf8(request.missionPath);
  const std::filesystem::path outputPath = PathFromUtf8(request.outputPath);
  std::error_code openError;
  NativeFile mission = OpenMissionForReading(request.missionPath, openError);
  if (!mission.IsOpen()) return Failed(Kind::kOpenMission, request.missionPath, openError);
  // Taken of the opened file itself, so that nothing written under its name in the meantime
  // can pass for what was shown.
  MissionStamp stamp;
  if (request.expected) stamp = StampOf(mission);
  if (request.outputPath.empty() || NamesSameFile(missionPath, outputPath)) {
    return Failed(Kind::kOutputIsMission, request.outputPath);
  }

  if (request.expected && stamp != request.expected->missionStamp) {
    return Ended(Status::kMissionChanged);
  }

  // Layers that do not keep clear need nothing of the mission: they are drawn before any output
  // exists, so that a draw that cannot keep the rules leaves nothing behind. Layers that keep
  // clear get the mission's objects from the copy pass itself, which reads the mission once for
  // both, and are drawn after it; the output then appears only once they are written. A fill
  // among such layers is the exception: its count goes into the count line, which the pass
  // writes before it has seen the objects, so the mission is read for them first.
  const std::optional<KeepClearReach> reach = ReachOfKeepClear(layers);
  const bool fills = std::any_of(layers.begin(), layers.end(),
                                 [](const CompiledLayer& layer) { return layer.fill; });
  std::optional<DrawnLayers> drawn;
  const auto draw = [&](const SortedPointGrid* existing) -> std::optional<AddObjectsResult> {
    drawn = DrawLayers(layers, existing, kMaxObjectCount, random);
    if (!drawn->Complete()) return FellShort(*drawn, layers.size());
    if (request.expected && request.expected->objects &&
        drawn->objects != *request.expected->objects) {
      return Ended(Status::kMissionChanged);
    }
    return std::nullopt;
  };
  if (!reach || fills) {
    std::optional<SortedPointGrid> existing;
    if (reach) {
      FileReadBuffer positionBytes(mission);
      std::error_code rewindError;
      existing = ReadKeepClearGrid(positionBytes, *reach);
      if (!existing || !Rewind(mission, rewindError)) {
        return Failed(Kind::kReadMission, request.missionPath,
                      ReasonOr(positionBytes.Error() ? positionBytes.Error() : rewindError));
      }
    }
    if (auto fellShort = draw(existing ? &*existing : nullptr)) return std::move(*fellShort);
  }
  const double count = drawn ? static_cast<double>(drawn->objects.size()) : CountOf(layers);

  AtomicOutputFile output(outputPath);
  if (std::error_code error; !output.Open(error)) {
    return Failed(Kind::kCreateOutput, request.outputPath, error);
  }
  {
    OutputBuffer buffer(output.Buffer());
    std::string lastIdLine;
    // The positions are gathered from the very bytes the pass copies; the pass's buffers are let
    // go before the grid is built.
    std::optional<KeepClearGathering> gathering;
    if (!drawn) gathering.emplace(*reach);
    {
      FileReadBuffer missionBytes(mission);
      StreamWindow window(missionBytes);
      ObservedWindow observed(window, [&gathering](std::string_view bytes) {
        if (gathering) gathering->Take(bytes);
      });
      try {
        lastIdLine = CopyPass(observed, buffer, count);
      } catch (const MissionStreamError& failure) {
        if (failure.side() == MissionStreamError::Side::kInput) {
          return Failed(Kind::kReadMission, request.missionPath, ReasonOr(missionBytes.Error()));
        }
        return Failed(Kind::kWriteOutput, request.outputPath, ReasonOr(output.WriteError()));
      }
    }
    std::error_code ignored;
    mission.Close(ignored);
    if (gathering) {
      const SortedPointGrid existing = std::move(*gathering).Finish();
      gathering.reset();
      if (auto fellShort = draw(&existing)) return std::move(*fellShort);
    }

    double nextId = FirstId(lastIdLine);
    if (!IdsCanContinue(nextId, count)) {
      return Failed(Kind::kIdsExhausted, request.missionPath);
    }
    for (const DrawnObject& object : drawn->objects) {
      if (buffer.Failed()) break;
      nextId += 1;
      WriteItemBlock(buffer, nextId, object.typeText, object.x, object.y, object.facing);
    }
    if (!buffer.Flush()) {
      return Failed(Kind::kWriteOutput, request.outputPath, ReasonOr(output.WriteError()));
    }
  }
  if (std::error_code error; !output.Commit(error)) {
    return Failed(Kind::kSaveOutput, request.outputPath, error);
  }

  AddObjectsResult result = Ended(Status::kWritten);
  result.objects = std::move(drawn->objects);
  result.layerCounts = std::move(drawn->layerSizes);
  return result;
}

}  // namespace

AddObjectsResult AddObjects(const AddObjectsRequest& request, RandomSource& random) {
  // Whatever goes wrong unexpectedly ends the run like any failure, and no file is left behind
  // (the temporary output is removed as the run unwinds).
  try {
    return Run(request, random);
  } catch (const std::exception& failure) {
    return FailedRun(failure);
  }
}

AddObjectsResult FellShort(const DrawnLayers& drawn, std::size_t layerCount) {
  AddObjectsResult result = Ended(
      drawn.outcome == DrawnLayer::Outcome::kOverfilled ? Status::kOverfilled : Status::kEndedEarly,
      drawn.layerSizes.back(), drawn.asked);
  if (layerCount > 1) result.layer = drawn.layerSizes.size();
  return result;
}

AddObjectsResult FailedRun(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
    return Failed(Kind::kOutOfMemory, {});
  }
  AddObjectsResult result = Failed(Kind::kUnexpected, {});
  result.failure.detail = failure.what();
  return result;
}

}  // namespace bosquell
