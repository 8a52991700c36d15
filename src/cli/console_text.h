#pragma once

#include <string>
#include <string_view>

namespace bosquell {

// A message of the run as a console line: the CR LF that joins its lines becomes a newline,
// which the console turns back into its own line ending.
std::string ConsoleText(std::string_view message);

}  // namespace bosquell
