#pragma once

#include <cstddef>
#include <streambuf>
#include <string_view>
#include <vector>

#include "mission/line_break_scan.h"
#include "mission/mission_lines.h"

namespace bosquell {

// Splits a byte stream into mission file lines. A line ends at CR LF or at a CR alone, and in a
// file whose first break is an LF also at an LF alone (see LineBreaks); elsewhere a line feed
// without a CR before it is ordinary text. The last line need not be terminated. Only the
// current line is held, and no more than `headLength` bytes of it: a longer line that does not
// fit the buffer comes back as its first `headLength` bytes, the rest skipped, and Cut() says
// so. Memory is bounded by the buffer, whatever the lines.
class LineReader {
 public:
  explicit LineReader(std::streambuf& source, std::size_t chunkSize = 256 * 1024,
                      std::size_t headLength = 64 * 1024);

  // Points `line` at the next line, without its terminator; the view stays valid until the next
  // call. Returns false at the end of the input.
  bool Next(std::string_view& line) {
    // The common case, a terminator inside the buffer with a byte after it, stays inline.
    if (!skipLineFeed_ && breaks_ != LineBreaks::kUnknown) {
      const char* begin = buffer_.data() + begin_;
      const char* end = buffer_.data() + end_;
      const char* lineEnd = breaks_ == LineBreaks::kCarriageReturn
                                ? FindCarriageReturn(begin, end)
                                : FindLineEnd(begin, end, breaks_);
      if (lineEnd + 1 < end) {
        line = std::string_view(begin, static_cast<std::size_t>(lineEnd - begin));
        begin_ += line.size() + BreakLength(lineEnd);
        cut_ = false;
        return true;
      }
    }
    return NextAcrossChunks(line);
  }

  // Calls take(line) for each line already read whose terminator has a byte after it, as Next
  // would hand them out one by one: for a caller that can take many lines at once.
  template <typename Take>
  void TakeBuffered(Take take) {
    if (skipLineFeed_ || breaks_ == LineBreaks::kUnknown) return;
    const char* const begin = buffer_.data() + begin_;
    const char* const end = buffer_.data() + end_;
    const char* lineStart = begin;
    if (breaks_ == LineBreaks::kCarriageReturn) {
      ForEachCarriageReturn(begin, end, [&](const char* cr) {
        if (cr + 1 == end) return false;
        take(std::string_view(lineStart, static_cast<std::size_t>(cr - lineStart)));
        lineStart = cr[1] == '\n' ? cr + 2 : cr + 1;
        return true;
      });
    } else {
      ForEachLineBreak(begin, end, [&](const char* at) {
        if (at < lineStart) return true;  // the LF of a CR LF just taken
        if (at + 1 == end) return false;
        take(std::string_view(lineStart, static_cast<std::size_t>(at - lineStart)));
        lineStart = at + BreakLength(at);
        return true;
      });
    }
    begin_ += static_cast<std::size_t>(lineStart - begin);
  }

  // True when the last line was longer than the head kept of it.
  bool Cut() const { return cut_; }
  // True once a read from the source has failed (as opposed to reaching its end).
  bool Failed() const { return failed_; }

 private:
  bool NextAcrossChunks(std::string_view& line);
  bool Refill();

  std::streambuf& source_;
  std::size_t chunkSize_;
  std::size_t headLength_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // one past the last byte read
  bool atEnd_ = false;
  bool failed_ = false;
  LineBreaks breaks_ = LineBreaks::kUnknown;
  bool skipLineFeed_ = false;  // the previous line ended in a CR that closed its chunk
  bool cutting_ = false;       // the line being read is past its head; the rest is dropped
  bool cut_ = false;
};

}  // namespace bosquell
