#pragma once

#include <cstddef>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>

#include "mission/input_window.h"
#include "mission/mission_lines.h"
#include "mission/output_buffer.h"
#include "mission/output_sink.h"

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
// dropped. Returns the text of the last id line, or "" when there is none; an id line longer
// than LastIdLine::kKeptLength comes back as "  id" and a short text of its number that FirstId
// reads as the same value. Memory does not depend on the input: no more of it is held than
// the window shows, however long its lines are.
std::string CopyPass(InputWindow& input, OutputSink& output, double addedCount);
// The same, reading the stream `chunkSize` bytes at a time.
std::string CopyPass(std::streambuf& input, OutputSink& output, double addedCount,
                     std::size_t chunkSize = 256 * 1024);

// The number the first appended object continues from: the value of the last id line from its
// fifth character on ("  id 57" gives 57, "  id" alone 0, no id line at all 1).
double FirstId(std::string_view lastIdLine);

// Writes the item record of one new object, preceded and followed by an empty line. `nextId`
// is the object's id, already advanced for it; its header carries nextId - 1.
void WriteItemBlock(OutputBuffer& output, double nextId, std::string_view typeText, double x,
                    double y, float facing);

}  // namespace bosquell
