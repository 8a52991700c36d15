#include "mission/mission_rewrite.h"

#include <algorithm>

#include "common/number_text.h"
#include "mission/unchanged_lines.h"

namespace bosquell {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string CopyPass(LineReader& input, OutputBuffer& output, double addedCount) {
  std::string lastIdLine;
  std::string_view line;
  while (!output.Failed()) {
    // Most of a mission goes out as it came in: whole stretches of it are copied at once, and
    // only a count line, a lone CR or a line cut by the end of the buffer is taken singly.
    const std::string_view buffered = input.Buffered();
    const UnchangedLines run = ScanUnchangedLines(buffered);
    if (run.length > 0) {
      if (!run.lastIdLine.empty()) lastIdLine.assign(run.lastIdLine);
      output.Write(buffered.substr(0, run.length));
      input.Skip(run.length);
    }
    if (!input.Next(line)) break;

    switch (KindOfLine(line)) {
      case LineKind::kCount: {
        // Whatever followed the old number is dropped with it.
        const double count = TextValue(line.substr(kCountLinePrefix.size())) + addedCount;
        output.Write(kCountLinePrefix);
        output.Write(" ");
        output.Write(NumberText(count));
        output.Write(kLineEnd);
        continue;
      }
      case LineKind::kId:
        lastIdLine.assign(line);
        break;
      case LineKind::kOther:
        break;
    }
    output.Write(line);
    output.Write(kLineEnd);
  }
  if (input.Failed()) {
    throw MissionStreamError(MissionStreamError::Side::kInput, "the file could not be read");
  }
  if (output.Failed()) {
    throw MissionStreamError(MissionStreamError::Side::kOutput, "the file could not be written");
  }
  return lastIdLine;
}

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
