#include "mission/output_path.h"

namespace bosquell {

bool HasMissionExtension(std::string_view missionPath) {
  constexpr std::string_view kExtension = ".mis";
  if (missionPath.size() < kExtension.size()) return false;
  const std::string_view tail = missionPath.substr(missionPath.size() - kExtension.size());
  for (std::size_t i = 0; i < kExtension.size(); ++i) {
    const char c =
        tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
    if (c != kExtension[i]) return false;
  }
  return true;
}

std::string OutputPathFor(std::string_view missionPath) {
  constexpr std::size_t kExtensionLength = 4;  // ".mis", in whatever case
  const std::size_t kept =
      missionPath.size() > kExtensionLength ? missionPath.size() - kExtensionLength : 0;
  std::string output(missionPath.substr(0, kept));
  output += "_rnd.mis";
  return output;
}

}  // namespace bosquell
