#include "run/add_objects_run.h"

#include <cctype>
#include <cmath>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

#include "common/file_error.h"
#include "common/number_text.h"
#include "common/same_file.h"
#include "common/utf8_path.h"
#include "files/atomic_output_file.h"
#include "files/file_buffers.h"
#include "files/mission_file.h"
#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "placement/object_draw.h"
#include "placement/theme_slots.h"
#include "run/run_inputs.h"

namespace bosquell {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

constexpr std::string_view kNothingSaved =
    "Nothing has been saved, and no earlier output file has been changed.";
constexpr std::string_view kAddedMessage =
    " Object have been added and the file has been saved to ";

// Ends the run the way every failure does: the message, then the window is usable again.
// The open file and every other window state stay as they were, so the user can retry.
RunOutcome EndRun(WindowOperations& window, RunOutcome::Status status, std::string message) {
  window.ShowMessage(message);
  window.SetWindowEnabled(true);
  RunOutcome outcome;
  outcome.status = status;
  outcome.message = std::move(message);
  return outcome;
}

std::string FileFailureMessage(std::string_view what, std::string_view path,
                               std::string_view reason) {
  std::string message(what);
  message += kLineBreak;
  message += path;
  message += kLineBreak;
  message += reason;
  message += kLineBreak;
  message += kNothingSaved;
  return message;
}

std::string ErrorText(const std::error_code& error) {
  std::string text = error.message();
  if (!text.empty()) text.front() = static_cast<char>(std::toupper(text.front()));
  return text + ".";
}

// Why the mission file cannot be the input of a run, in the words the user needs.
std::string InputProblemText(const std::error_code& error) {
  if (error == std::errc::no_such_file_or_directory) return "The file does not exist.";
  if (error == FileError::kDirectory) return "It is a directory, not a mission file.";
  if (error == FileError::kNotRegularFile) {
    return "It is not a regular file but a device, a pipe or a socket, so it cannot be a "
           "mission file.";
  }
  return ErrorText(error);
}

// The reason of a failed read or write, or the likeliest one when the system gave none.
std::error_code ReasonOr(const std::error_code& reason) {
  return reason ? reason : std::make_error_code(std::errc::io_error);
}

std::string NotAllFitMessage(std::size_t placed, int count) {
  return NotAllPlacedText(placed, count) + std::string(kLineBreak) + std::string(kNothingSaved);
}

// Ids count on one by one in a double, which holds whole numbers exactly only up to 2^53:
// beyond that, new ids would repeat.
bool IdsCanContinue(double firstId, int count) {
  constexpr double kLargestExact = 9007199254740992.0;
  const double magnitude = std::fabs(firstId);  // NaN and infinities fail the first test
  return magnitude < kLargestExact && count <= kLargestExact - magnitude;
}

// The run proper; RunAddObjects adds the net for the unexpected.
RunOutcome RunChecked(const RunInputs& inputs, WindowOperations& window, RandomSource& random) {
  using Status = RunOutcome::Status;
  random.ReseedFromClock();
  window.SetWindowEnabled(false);
  auto checked = CheckRunInputs(inputs);
  if (const std::string* message = std::get_if<std::string>(&checked)) {
    return EndRun(window, Status::kEndedEarly, *message);
  }
  const auto& [slots, topSlot, count, placement, rules] = std::get<CheckedInputs>(checked);

  // The mission is opened first and checked as opened: a device, a pipe or a folder is refused
  // before any output exists.
  const std::filesystem::path missionPath = PathFromUtf8(inputs.missionPath);
  const std::filesystem::path outputPath = PathFromUtf8(inputs.outputPath);
  std::error_code openError;
  NativeFile mission = OpenMissionForReading(inputs.missionPath, openError);
  if (!mission.IsOpen()) {
    return EndRun(window, Status::kFailed,
                  FileFailureMessage("The mission file could not be read:", inputs.missionPath,
                                     InputProblemText(openError)));
  }
  if (inputs.outputPath.empty() || NamesSameFile(missionPath, outputPath)) {
    return EndRun(window, Status::kFailed,
                  FileFailureMessage("The output file would replace the mission file:",
                                     inputs.outputPath, "The mission file is never changed."));
  }

  // The objects are drawn before any output exists, so that a draw that cannot keep the rules
  // leaves nothing behind. Keeping clear needs the mission's objects: one more read, ahead of
  // the copy pass.
  std::optional<SortedPointGrid> existing;
  if (rules.keepClear > 0) {
    FileReadBuffer positionBytes(mission);
    std::error_code rewindError;
    existing = ReadKeepClearGrid(positionBytes, placement, rules);
    if (!existing || !Rewind(mission, rewindError)) {
      return EndRun(
          window, Status::kFailed,
          FileFailureMessage(
              "The mission file could not be read:", inputs.missionPath,
              ErrorText(ReasonOr(positionBytes.Error() ? positionBytes.Error() : rewindError))));
    }
  }
  DrawnObjects drawn =
      DrawObjects(placement, slots, topSlot, count, rules, existing ? &*existing : nullptr, random);
  existing.reset();
  if (!drawn.complete) {
    return EndRun(window, Status::kEndedEarly, NotAllFitMessage(drawn.objects.size(), count));
  }
  AtomicOutputFile output(outputPath);
  if (std::error_code error; !output.Open(error)) {
    return EndRun(window, Status::kFailed,
                  FileFailureMessage("The output file could not be created:", inputs.outputPath,
                                     ErrorText(error)));
  }

  RunOutcome outcome;
  outcome.placement = placement;
  {
    OutputBuffer buffer(output.Buffer());
    std::string lastIdLine;
    FileReadBuffer missionBytes(mission);
    try {
      lastIdLine = CopyPass(missionBytes, buffer, count);
    } catch (const MissionStreamError& failure) {
      const bool reading = failure.side() == MissionStreamError::Side::kInput;
      return EndRun(window, Status::kFailed,
                    FileFailureMessage(
                        reading ? "The mission file could not be read:"
                                : "The output file could not be written:",
                        reading ? inputs.missionPath : inputs.outputPath,
                        ErrorText(ReasonOr(reading ? missionBytes.Error() : output.WriteError()))));
    }
    std::error_code ignored;
    mission.Close(ignored);

    double nextId = FirstId(lastIdLine);
    if (!IdsCanContinue(nextId, count)) {
      return EndRun(window, Status::kFailed,
                    FileFailureMessage(
                        "The new objects cannot be numbered after the last id of the mission file:",
                        inputs.missionPath,
                        "From 9007199254740992 on, or past an id that is no number, ids can no "
                        "longer be counted exactly and would repeat."));
    }
    for (const DrawnObject& object : drawn.objects) {
      if (buffer.Failed()) break;
      ++outcome.addedCount;
      nextId += 1;
      WriteItemBlock(buffer, nextId, object.typeText, object.x, object.y, object.facing);
    }
    outcome.objects = std::move(drawn.objects);
    if (!buffer.Flush()) {
      return EndRun(window, Status::kFailed,
                    FileFailureMessage("The output file could not be written:", inputs.outputPath,
                                       ErrorText(ReasonOr(output.WriteError()))));
    }
  }
  if (std::error_code error; !output.Commit(error)) {
    return EndRun(window, Status::kFailed,
                  FileFailureMessage("The output file could not be saved:", inputs.outputPath,
                                     ErrorText(error)));
  }

  window.SetWindowEnabled(true);
  window.ClearMissionPath();
  outcome.status = Status::kCompleted;
  outcome.message = NumberText(outcome.addedCount);
  outcome.message += kAddedMessage;
  outcome.message += kLineBreak;
  outcome.message += inputs.outputPath;
  window.ShowMessage(outcome.message);
  window.SetStatusText(std::string(kStatusSaved));
  return outcome;
}

}  // namespace

RunOutcome RunAddObjects(const RunInputs& inputs, WindowOperations& window, RandomSource& random) {
  // Whatever goes wrong unexpectedly ends the run like any failure: a message, the window usable
  // again, and no file left behind (the temporary output is removed as the run unwinds).
  try {
    return RunChecked(inputs, window, random);
  } catch (const std::bad_alloc&) {
    return EndRun(window, RunOutcome::Status::kFailed,
                  "There was not enough memory to finish the run." + std::string(kLineBreak) +
                      std::string(kNothingSaved));
  } catch (const std::exception& failure) {
    return EndRun(window, RunOutcome::Status::kFailed,
                  "The run failed: " + std::string(failure.what()) + std::string(kLineBreak) +
                      std::string(kNothingSaved));
  }
}

}  // namespace bosquell
