#pragma once

#include <string>
#include <vector>

#include "run/take_back_run.h"

namespace bosquell {

// What a take-back tells the user, line by line, on the command line and in a window's message.

// Why nothing was written; empty when the output was written.
std::vector<std::string> NotTakenBackLines(const TakeBackResult& result,
                                           const TakeBackRequest& request);

// After the output was written: the report, then where the file went.
std::vector<std::string> TakenBackLines(const TakeBackResult& result,
                                        const TakeBackRequest& request);

}  // namespace bosquell
