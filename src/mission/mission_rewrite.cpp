#include "mission/mission_rewrite.h"

#include <algorithm>

#include "common/number_text.h"

namespace bosquell {
double FirstId(std::string_view lastIdLine) {
  if (lastIdLine.empty()) lastIdLine = kDefaultIdLine;
  return TextValue(lastIdLine.substr(std::min(lastIdLine.size(), kIdLinePrefix.size())));
}

void WriteItemBlock(OutputBuffer& output, double nextId, std::string_view typeText, double x,
                    double y, float facing) {
  std::string block;
  block.reserve(400);
  block += "\r\nbegin item ";
  block += NumberText(nextId - 1);
  block += "\r\n  id ";
  block += NumberText(nextId);
  block += "\r\n  type_id ";
  block += typeText;
  block += "\r\n  position ";
  block += NumberText(x);
  block += ' ';
  block += NumberText(y);
  block += " 0\r\n  facing ";
  block += NumberText(facing);
  block +=
      " 0\r\n"
      "  wpdistance 4\r\n"
      "  fov 180\r\n"
      "  obliqueness 15\r\n"
      "  waccuracy2 100\r\n"
      "  perception2 100\r\n"
      "  perfectionist2 100\r\n"
      "  movetimer 3\r\n"
      "  crouchtimer 3\r\n"
      "  shoottimer 5\r\n"
      "  attention 30\r\n"
      "  advancetimer 10\r\n"
      "  edistances 16 1024\r\n"
      "end item\r\n"
      "\r\n";
  output.Write(block);
}

}  // namespace bosquell
