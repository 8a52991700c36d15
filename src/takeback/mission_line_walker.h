#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mission/input_window.h"
#include "mission/line_break_scan.h"
#include "mission/mission_lines.h"

namespace bosquell {

// One line of a mission, where it stands in the file and the first bytes of its text.
struct MissionLine {
  std::uint64_t offset = 0;       // of its first byte
  std::uint64_t length = 0;       // of its text, without the line end
  std::uint32_t breakLength = 0;  // 2 for CR LF, 1 for a CR or an LF alone, 0 at the end of input
  std::string_view head;          // the text, or its first bytes when the line is longer

  bool Cut() const { return head.size() < length; }
  bool Empty() const { return length == 0; }
  std::uint64_t End() const { return offset + length + breakLength; }
};

// Where the walker tells what leaves its window: the bytes of `bytes` start at `offset` in the
// input, and are valid only during the call.
class WindowListener {
 public:
  virtual ~WindowListener() = default;
  virtual void Leaving(std::uint64_t offset, std::string_view bytes) = 0;
};

// Walks a mission line by line, in the lines every reader of missions agrees on (LineBreaks),
// and tells where each line stands. Only the window and the head of one long line are held:
// a line longer than `headLength` comes with its first `headLength` bytes. A line's head stays
// valid until the next call; before the window moves on, the listener sees the bytes that leave
// it, each byte once, so that it can copy them or keep what it still needs of them.
class MissionLineWalker {
 public:
  MissionLineWalker(InputWindow& input, std::size_t headLength, WindowListener* listener);

  // The next line; false at the end of the input.
  bool Next(MissionLine& line);
  // Calls take(line) for each line the window holds whole, with a byte after its line end, as
  // Next would hand them out one by one, up to the line that starts at `limit`: for a caller
  // that can take many lines at once. The window does not move meanwhile. take returns whether
  // to go on; true when it asked to stop.
  template <typename Take>
  bool TakeWholeLines(Take take, std::uint64_t limit = UINT64_MAX);
  // The bytes in the window from Position() on.
  std::string_view Ahead() const {
    return cutting_ ? std::string_view() : view_.substr(lineStart_);
  }
  // Where the next line starts.
  std::uint64_t Position() const { return lineOffset_; }
  LineBreaks Breaks() const { return breaks_; }
  // Passes the next lines, up to `limit` at most, while they end in CR LF and none is a count
  // line; returns how many it passed. Only in a file of CR line ends, whose other lines need a
  // closer look; it scans many bytes at a time.
  std::uint64_t SkipUnchangedLines(std::uint64_t limit);
  // Goes on from `offset`, the start of a line at or after Position(); the lines in between
  // are not handed out.
  void SkipTo(std::uint64_t offset);
  // Hands what is left of the window to the listener, at the end of the walk.
  void Finish();
  // The input's bytes [from, to), which must still be in the window: from the first byte not yet
  // handed to the listener up to the end of the last line handed out.
  std::string_view Bytes(std::uint64_t from, std::uint64_t to) const {
    return view_.substr(static_cast<std::size_t>(from - viewOffset_),
                        static_cast<std::size_t>(to - from));
  }

 private:
  // Moves the window on, keeping the bytes from `keepFrom` (an index into it) and reading more;
  // the bytes before it go to the listener.
  void MoveWindow(std::size_t keepFrom);
  void Refill(bool carriageReturnAtEnd);

  InputWindow& input_;
  const std::size_t headLength_;
  WindowListener* const listener_;
  std::string_view view_;         // the bytes in the window
  std::uint64_t viewOffset_ = 0;  // where view_[0] stands in the input
  std::size_t lineStart_ = 0;     // index of the current line's start, unless cutting_
  std::size_t scanFrom_ = 0;      // the bytes before this index hold no line end of it
  std::uint64_t lineOffset_ = 0;  // where the current line starts in the input
  bool atEnd_ = false;
  bool cutting_ = false;  // the current line outgrew its head, kept in cutHead_
  std::string cutHead_;
  LineBreaks breaks_ = LineBreaks::kUnknown;
};

template <typename Take>
bool MissionLineWalker::TakeWholeLines(Take take, std::uint64_t limit) {
  if (cutting_ || breaks_ == LineBreaks::kUnknown) return false;
  const char* const data = view_.data();
  const char* const end = data + view_.size();
  const char* lineStart = data + lineStart_;
  MissionLine line;
  bool stopped = false;
  const auto hand = [&](const char* at) {
    if (at + 1 == end) return false;  // what follows a CR is not known yet
    line.offset = viewOffset_ + static_cast<std::uint64_t>(lineStart - data);
    if (line.offset >= limit) return false;
    line.length = static_cast<std::uint64_t>(at - lineStart);
    line.breakLength = static_cast<std::uint32_t>(BreakLength(at));
    line.head = std::string_view(lineStart, std::min<std::size_t>(line.length, headLength_));
    lineStart = at + line.breakLength;
    stopped = !take(line);
    return !stopped;
  };
  if (breaks_ == LineBreaks::kCarriageReturn) {
    ForEachCarriageReturn(data + scanFrom_, end, hand);
  } else {
    ForEachLineBreak(data + scanFrom_, end, [&](const char* at) {
      return at < lineStart || hand(at);  // an LF right after a CR belongs to its CR LF
    });
  }
  lineStart_ = static_cast<std::size_t>(lineStart - data);
  scanFrom_ = std::max(scanFrom_, lineStart_);
  lineOffset_ = viewOffset_ + lineStart_;
  return stopped;
}

}  // namespace bosquell
