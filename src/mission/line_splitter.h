#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "mission/line_break_scan.h"
#include "mission/mission_lines.h"

namespace bosquell {

// Splits the bytes of a mission, handed over piece by piece in order, into its lines. A line
// ends at CR LF or at a CR alone, and in a file whose first break is an LF also at an LF alone
// (see LineBreaks); elsewhere a line feed without a CR before it is ordinary text. The last line
// need not be terminated. Lines that lie whole in a piece are handed on where they stand; of a
// line that crosses pieces no more than `headLength` bytes are held. A line longer than that
// comes out as its first `headLength` bytes, with `cut` set; memory is bounded by the head,
// whatever the lines and the pieces.
class LineSplitter {
 public:
  explicit LineSplitter(std::size_t headLength = 64 * 1024)
      : headLength_(std::max<std::size_t>(headLength, 1)) {}

  // Calls take(line, cut) for every line that ends in `bytes`, in order; the line is valid
  // during the call only.
  template <typename Take>
  void Feed(std::string_view bytes, Take take) {
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    if (at == end) return;
    if (afterCarriageReturn_) {
      afterCarriageReturn_ = false;
      if (*at == '\n') ++at;  // the LF of a CR LF whose CR closed the last piece
    }
    // A line begun in an earlier piece, and the first line, which decides the breaks.
    while (at != end && (inLine_ || breaks_ == LineBreaks::kUnknown)) {
      const char* const lineEnd = FindLineEnd(at, end, breaks_);
      Keep(at, lineEnd);
      if (lineEnd == end) return;
      if (breaks_ == LineBreaks::kUnknown) breaks_ = LineBreaksFrom(*lineEnd);
      HandOn(std::string_view(head_), cut_, take);
      head_.clear();
      cut_ = false;
      inLine_ = false;
      at = PastBreak(lineEnd, end);
    }
    // Whole lines, where they stand.
    const char* lineStart = at;
    const auto ended = [&](const char* lineEnd) {
      HandOn(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)), false,
             take);
      lineStart = PastBreak(lineEnd, end);
      return lineStart != end;
    };
    if (breaks_ == LineBreaks::kCarriageReturn) {
      ForEachCarriageReturn(at, end, [&](const char* cr) { return ended(cr); });
    } else {
      ForEachLineBreak(at, end, [&](const char* found) {
        return found < lineStart || ended(found);  // past the LF of a CR LF just taken
      });
    }
    if (lineStart != end) Keep(lineStart, end);
  }

  // The last line, when the bytes ended without a break after it.
  template <typename Take>
  void Finish(Take take) {
    if (inLine_) HandOn(std::string_view(head_), cut_, take);
    head_.clear();
    cut_ = false;
    inLine_ = false;
  }

 private:
  template <typename Take>
  void HandOn(std::string_view line, bool cut, Take& take) const {
    if (line.size() > headLength_) {
      line = line.substr(0, headLength_);
      cut = true;
    }
    take(line, cut);
  }

  // Holds the head of a line that goes on in the next piece.
  void Keep(const char* from, const char* to) {
    inLine_ = true;
    const auto size = static_cast<std::size_t>(to - from);
    const std::size_t room = headLength_ - head_.size();
    head_.append(from, std::min(size, room));
    cut_ = cut_ || size > room;
  }

  // The first byte after the break at `at`; a CR at the end of the piece may have its LF in the
  // next one.
  const char* PastBreak(const char* at, const char* end) {
    const char* next = at + 1;
    if (*at == '\r') {
      if (next == end) {
        afterCarriageReturn_ = true;
      } else if (*next == '\n') {
        ++next;
      }
    }
    return next;
  }

  std::size_t headLength_;
  LineBreaks breaks_ = LineBreaks::kUnknown;
  std::string head_;  // of the line that goes on in the next piece
  bool inLine_ = false;
  bool cut_ = false;
  bool afterCarriageReturn_ = false;
};

}  // namespace bosquell
