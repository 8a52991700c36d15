#pragma once

#include <cstddef>
#include <string_view>

namespace bosquell {

// A stretch of whole lines that the copy pass writes back exactly as read.
struct UnchangedLines {
  std::size_t length = 0;
  std::string_view lastIdLine;  // the last id line among them, without its CR LF; empty if none
};

// The longest start of `bytes` made of lines that are terminated by CR LF and are no count line.
// Id lines pass through unchanged as well; the last one is noted.
UnchangedLines ScanUnchangedLines(std::string_view bytes);
// The same, in steps of no more than `widest` bytes (16, 32 or 64) even where the processor
// could take wider ones.
UnchangedLines ScanUnchangedLines(std::string_view bytes, int widest);

}  // namespace bosquell
