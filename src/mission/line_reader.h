#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <streambuf>
#include <string_view>
#include <vector>

namespace bosquell {

// The first CR in [from, end), or end. Mission lines are short, so eight bytes are tested at a
// time inline instead of calling memchr for every line.
inline const char* FindCarriageReturn(const char* from, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    while (end - from >= 8) {
      std::uint64_t word;
      std::memcpy(&word, from, sizeof word);
      const std::uint64_t x = word ^ (kOnes * '\r');
      // Sets the high bit of the first byte of x that is zero (exact for the lowest one).
      const std::uint64_t zeros = (x - kOnes) & ~x & kHighs;
      if (zeros != 0) return from + std::countr_zero(zeros) / 8;
      from += 8;
    }
  }
  while (from != end && *from != '\r') ++from;
  return from;
}

// Splits a byte stream into mission file lines. A line ends at CR LF or at a CR alone; a line
// feed without a CR before it is ordinary text. The last line need not be terminated. Only the
// current line is held, so memory is bounded by the longest line, not by the stream.
class LineReader {
 public:
  explicit LineReader(std::streambuf& source, std::size_t chunkSize = 256 * 1024);

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
        if (cr[1] == '\n') {
          withCrLf_ = std::string_view(begin, length + 2);
          begin_ += length + 2;
        } else {
          withCrLf_ = {};
          begin_ += length + 1;
        }
        return true;
      }
    }
    return NextAcrossChunks(line);
  }

  // The line last handed out followed by its CR LF, when that is how it ended in the input:
  // a caller that writes lines back with CR LF can then copy them in one piece.
  std::string_view WithCrLf() const { return withCrLf_; }

  // Called before the reader reuses its buffer for more input, which ends the life of every
  // view it has handed out: a caller that holds on to views hands them on here.
  void SetBeforeRefill(std::function<void()> hook) { beforeRefill_ = std::move(hook); }

  // True once a read from the source has failed (as opposed to reaching its end).
  bool Failed() const { return failed_; }

 private:
  bool NextAcrossChunks(std::string_view& line);
  bool Refill();

  std::streambuf& source_;
  std::size_t chunkSize_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first byte not yet handed out
  std::size_t end_ = 0;    // one past the last byte read
  bool atEnd_ = false;
  bool failed_ = false;
  bool skipLineFeed_ = false;  // the previous line ended in a CR that closed its chunk
  std::string_view withCrLf_;
  std::function<void()> beforeRefill_;
};

}  // namespace bosquell
