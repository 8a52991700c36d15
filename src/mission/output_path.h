#pragma once

#include <string>
#include <string_view>

namespace bosquell {

// The file an Add Objects run writes for a mission: the mission path less its last four
// characters (its ".mis" in whatever case), followed by "_rnd.mis".
std::string OutputPathFor(std::string_view missionPath);

// True when the path ends in ".mis", in any case: only then has it an output name to derive.
bool HasMissionExtension(std::string_view missionPath);

}  // namespace bosquell
