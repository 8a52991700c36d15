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
// The same, with `wide` false keeping to 16-byte steps where the processor could take 32.
UnchangedLines ScanUnchangedLines(std::string_view bytes, bool wide);

}  // namespace bosquell
