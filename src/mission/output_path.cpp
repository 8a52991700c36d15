#include "mission/output_path.h"

namespace bosquell {

std::string OutputPathFor(std::string_view missionPath) {
  constexpr std::size_t kExtensionLength = 4;  // ".mis", in whatever case
  const std::size_t kept =
      missionPath.size() > kExtensionLength ? missionPath.size() - kExtensionLength : 0;
  std::string output(missionPath.substr(0, kept));
  output += "_rnd.mis";
  return output;
}

}  // namespace bosquell
