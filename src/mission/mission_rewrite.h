#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "mission/line_reader.h"
#include "mission/mission_lines.h"
#include "mission/output_buffer.h"

namespace bosquell {

// Thrown by CopyPass when the input cannot be read or the output cannot be written.
class MissionStreamError : public std::runtime_error {
 public:
  enum class Side { kInput, kOutput };
  MissionStreamError(Side side, const std::string& what) : std::runtime_error(what), side_(side) {}
  Side side() const { return side_; }

 private:
  Side side_;
};

// Copies every input line to the output, each terminated by CR LF. Every count line becomes
// "  num_items " and its old number plus `addedCount`; whatever followed that number is
// dropped. Returns the text of the last id line, or "" when there is none.
std::string CopyPass(LineReader& input, OutputBuffer& output, double addedCount);

// The number the first appended object continues from: the value of the last id line from its
// fifth character on ("  id 57" gives 57, "  id" alone 0, no id line at all 1).
double FirstId(std::string_view lastIdLine);

// Writes the item record of one new object, preceded and followed by an empty line. `nextId`
// is the object's id, already advanced for it; its header carries nextId - 1.
void WriteItemBlock(OutputBuffer& output, double nextId, std::string_view typeText, double x,
                    double y, float facing);

}  // namespace bosquell
