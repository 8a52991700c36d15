#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace bosquell {

// bosquell-cli as a whole: parses the arguments that follow the program name, runs Add Objects
// on them and writes the plot if one is asked for. The completion message and the seed go to
// `out`, every error to `err`. Returns the exit status.
int RunCliProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace bosquell
