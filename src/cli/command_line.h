#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "form/form1_layout.h"

namespace bosquell {

// What one invocation of bosquell-cli asks for. The number options stay texts: the run reads
// them exactly as the window reads its boxes, and they default to what the boxes show when the
// window opens.
struct CommandLine {
  // Add a run; or take one back from the mission, and maybe plant another in its place.
  enum class Mode { kAdd, kRemoveRun, kReplaceRun };
  Mode mode = Mode::kAdd;
  std::vector<std::string> missionPaths;  // one or more, each run in turn
  std::optional<std::string> recipePath;
  std::optional<std::string> writeRecipePath;
  std::optional<std::string> theme;
  std::optional<std::string> ownId;
  std::string centerXText{InitialText(Control::kCenterX)};
  std::string centerYText{InitialText(Control::kCenterY)};
  std::string rangeXText{InitialText(Control::kRangeX)};
  std::string rangeYText{InitialText(Control::kRangeY)};
  std::string countText{InitialText(Control::kCount)};
  std::string keepClearText;  // empty: the rule is off
  std::string spacingText;
  std::optional<std::uint32_t> seed;
  // With --replace-run: the new run's seed and recipe (else the clock's and the old run's).
  std::optional<std::uint32_t> newSeed;
  std::optional<std::string> newRecipePath;
  std::optional<std::string> outputPath;
  std::optional<std::string> plotPath;
  bool listThemes = false;
  // Which of the options that stand for fields of a recipe's layer were given: beside a recipe,
  // these override its fields, and the rest is the recipe's own.
  bool areaGiven = false;  // any of the center and range options
  bool countGiven = false;
  bool keepClearGiven = false;
  bool spacingGiven = false;
};

// Exit statuses of the program.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitUsage = 2;

// Either a command line to carry out, or the status to exit with at once (after help, the
// version, or a usage error, whose text has then gone to `out` or `err`).
struct ParsedCommandLine {
  std::optional<CommandLine> commandLine;
  int exitCode = kExitSuccess;
};

// Parses the arguments that follow the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                   std::ostream& err);

}  // namespace bosquell
