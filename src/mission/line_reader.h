#pragma once

#include <cstddef>
#include <streambuf>
#include <string_view>
#include <vector>

#include "mission/carriage_return_scan.h"

namespace bosquell {

// Splits a byte stream into mission file lines. A line ends at CR LF or at a CR alone; a line
// feed without a CR before it is ordinary text. The last line need not be terminated. Only the
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
    if (!skipLineFeed_) {
      const char* begin = buffer_.data() + begin_;
      const std::size_t available = end_ - begin_;
      const char* cr = FindCarriageReturn(begin, begin + available);
      if (cr + 1 < begin + available) {
        const std::size_t length = static_cast<std::size_t>(cr - begin);
        line = std::string_view(begin, length);
        begin_ += cr[1] == '\n' ? length + 2 : length + 1;
        cut_ = false;
        return true;
      }
    }
    return NextAcrossChunks(line);
  }

  // The bytes read but not yet handed out, for a caller that can take many lines at once.
  std::string_view Buffered() const {
    return skipLineFeed_ ? std::string_view()
                         : std::string_view(buffer_.data() + begin_, end_ - begin_);
  }
  // Consumes the first `count` bytes of Buffered(), which must end with a line's terminator.
  void Skip(std::size_t count) { begin_ += count; }

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
  bool skipLineFeed_ = false;  // the previous line ended in a CR that closed its chunk
  bool cutting_ = false;       // the line being read is past its head; the rest is dropped
  bool cut_ = false;
};

}  // namespace bosquell
