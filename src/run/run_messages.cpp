#include "run/run_messages.h"

#include <cctype>

#include "common/file_error.h"
#include "common/number_text.h"

namespace bosquell {
namespace {

constexpr std::string_view kNothingSaved =
    "Nothing has been saved, and no earlier output file has been changed.";
constexpr std::string_view kAddedMessage =
    " Object have been added and the file has been saved to ";
// Only a run that was to write what the map showed meets a changed mission; the map then
// shows the mission anew.
constexpr std::string_view kMissionChanged =
    "The run failed: the mission file was changed while the run read it; the map now shows it "
    "as it is.";

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

std::vector<std::string> FailureLines(const FileFailure& failure) {
  using Kind = FileFailure::Kind;
  const auto lines = [&](std::string_view what, std::string reason) {
    return std::vector<std::string>{std::string(what), failure.path, std::move(reason),
                                    std::string(kNothingSaved)};
  };
  switch (failure.kind) {
    case Kind::kOpenMission:
      return lines("The mission file could not be read:", InputProblemText(failure.reason));
    case Kind::kReadMission:
      return lines("The mission file could not be read:", ErrorText(failure.reason));
    case Kind::kOutputIsMission:
      return lines("The output file would replace the mission file:",
                   "The mission file is never changed.");
    case Kind::kCreateOutput:
      return lines("The output file could not be created:", ErrorText(failure.reason));
    case Kind::kWriteOutput:
      return lines("The output file could not be written:", ErrorText(failure.reason));
    case Kind::kSaveOutput:
      return lines("The output file could not be saved:", ErrorText(failure.reason));
    case Kind::kIdsExhausted:
      return lines(
          "The new objects cannot be numbered after the last id of the mission file:",
          "From 9007199254740992 on, or past an id that is no number, ids can no longer be "
          "counted exactly and would repeat.");
    case Kind::kRecipe:
      return {"The recipe cannot be drawn: " + failure.detail + ".", std::string(kNothingSaved)};
    case Kind::kOutOfMemory:
      return {"There was not enough memory to finish the run.", std::string(kNothingSaved)};
    case Kind::kUnexpected:
      break;
  }
  return {"The run failed: " + failure.detail, std::string(kNothingSaved)};
}

}  // namespace

std::vector<std::string> RunMessageLines(const AddObjectsResult& result,
                                         std::string_view outputPath) {
  using Status = AddObjectsResult::Status;
  switch (result.status) {
    case Status::kWritten:
      return {NumberText(static_cast<double>(result.objects.size())) + std::string(kAddedMessage),
              std::string(outputPath)};
    case Status::kEndedEarly:
      return {NotAllPlacedText(result.placed, result.requested, result.layer),
              std::string(kNothingSaved)};
    case Status::kOverfilled:
      return {OverfilledText(result.requested, result.layer), std::string(kNothingSaved)};
    case Status::kMissionChanged:
      return {std::string(kMissionChanged), std::string(kNothingSaved)};
    case Status::kFailed:
      break;
  }
  return FailureLines(result.failure);
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += lineEnd;
    text += lines[i];
  }
  return text;
}

std::string NotAllPlacedText(std::size_t placed, std::size_t count, std::size_t layer) {
  const std::string text = " of the " + NumberText(static_cast<double>(count)) +
                           " objects could be placed while keeping the Keep clear and Spacing "
                           "distances, please enter a larger Range or smaller distances!";
  const std::string placedText = NumberText(static_cast<double>(placed));
  if (layer == 0) return "Only " + placedText + text;
  return "Layer " + NumberText(static_cast<double>(layer)) + ": only " + placedText + text;
}

std::string OverfilledText(std::size_t room, std::size_t layer) {
  const std::string text = "more than " + NumberText(static_cast<double>(room)) +
                           " objects would fill the area, the most this run has room for, "
                           "please enter a larger spacing or a smaller area!";
  if (layer == 0) return "The fill stopped: " + text;
  return "Layer " + NumberText(static_cast<double>(layer)) + ": the fill stopped: " + text;
}

}  // namespace bosquell
