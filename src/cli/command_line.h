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
  std::string missionPath;
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
  std::optional<std::string> outputPath;
  std::optional<std::string> plotPath;
  bool listThemes = false;
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
