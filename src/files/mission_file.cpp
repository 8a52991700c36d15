#include "files/mission_file.h"

#include "common/utf8_path.h"

namespace bosquell {

NativeFile OpenMissionForReading(std::string_view path, std::error_code& error) {
  return OpenRegularFileForReading(PathFromUtf8(path), error);
}

}  // namespace bosquell
