#include "mission/unchanged_lines.h"

#include "mission/carriage_return_scan.h"
#include "mission/mission_lines.h"

namespace bosquell {

UnchangedLines ScanUnchangedLines(std::string_view bytes) {
  UnchangedLines run;
  const char* const end = bytes.data() + bytes.size();
  const char* lineStart = bytes.data();
  ForEachCarriageReturn(bytes.data(), end, [&](const char* cr) {
    if (cr + 1 == end || cr[1] != '\n') return false;
    const std::string_view line(lineStart, static_cast<std::size_t>(cr - lineStart));
    switch (KindOfLine(line)) {
      case LineKind::kId:
        run.lastIdLine = line;
        break;
      case LineKind::kCount:
        return false;
      case LineKind::kOther:
        break;
    }
    lineStart = cr + 2;
    return true;
  });
  run.length = static_cast<std::size_t>(lineStart - bytes.data());
  return run;
}

}  // namespace bosquell
