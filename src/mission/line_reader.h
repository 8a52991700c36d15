#pragma once

#include <cstddef>
#include <streambuf>
#include <string_view>
#include <vector>

namespace bosquell {

// Splits a byte stream into mission file lines. A line ends at CR LF or at a CR alone; a line
// feed without a CR before it is ordinary text. The last line need not be terminated. Only the
// current line is held, so memory is bounded by the longest line, not by the stream.
class LineReader {
 public:
  explicit LineReader(std::streambuf& source, std::size_t chunkSize = 256 * 1024);

  // Points `line` at the next line, without its terminator; the view stays valid until the next
  // call. Returns false at the end of the input.
  bool Next(std::string_view& line);

  // True once a read from the source has failed (as opposed to reaching its end).
  bool Failed() const { return failed_; }

 private:
  bool Refill();

  std::streambuf& source_;
  std::size_t chunkSize_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // one past the last byte read
  bool atEnd_ = false;
  bool failed_ = false;
  bool skipLineFeed_ = false;  // the previous line ended in a CR that closed its chunk
};

}  // namespace bosquell
