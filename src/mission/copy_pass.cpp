#include <algorithm>

#include "common/number_reader.h"
#include "common/number_text.h"
#include "mission/input_window.h"
#include "mission/last_id_line.h"
#include "mission/line_break_scan.h"
#include "mission/mission_lines.h"
#include "mission/mission_rewrite.h"
#include "mission/unchanged_lines.h"

namespace bosquell {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The output is the input with a few edits: each count line replaced, an LF added after each
// lone CR, a CR before each LF that ends a line alone (in a file of LF line ends) and a CR LF
// after an unterminated last line. Everything between the edits goes out as it came in, handed
// to the sink as a stretch of the input. Only one buffer of input is held, whatever the length
// of a line.
class CopyMachine {
 public:
  CopyMachine(InputWindow& input, OutputSink& output, double addedCount)
      : input_(input), output_(output), addedCount_(addedCount) {}

  void Run();
  std::string LastIdLineText() const { return lastIdLine_.Text(); }

 private:
  // Where the pass stands at `position_`.
  enum class State {
    kLineStart,   // the start of a line
    kOtherLine,   // inside a line copied as it is
    kIdLine,      // inside an id line, copied as it is
    kCountLine,   // inside a count line, after its prefix; its bytes are dropped
    kTerminator,  // at the CR or LF that ends a line
  };

  std::string_view Bytes(std::size_t from, std::size_t to) const {
    return view_.substr(from, to - from);
  }
  // Hands the input's bytes up to `to` to the output unchanged.
  void CopyUpTo(std::size_t to);
  // The first byte of `bytes` that may end a line, or npos.
  std::size_t FindLineEndIn(std::string_view bytes) const {
    const char* found = FindLineEnd(bytes.data(), bytes.data() + bytes.size(), breaks_);
    return found == bytes.data() + bytes.size() ? std::string_view::npos
                                                : static_cast<std::size_t>(found - bytes.data());
  }
  // Hands on everything before `keepFrom` and moves the window there, to see more after the
  // bytes kept: the start of a line not yet long enough to tell a count line, or a CR whose LF
  // may follow. False at the end of the input.
  bool ReadMore(std::size_t keepFrom);
  void StartLine();
  void ContinueLine();
  void EndLine();
  void WriteCountLine();

  InputWindow& input_;
  OutputSink& output_;
  const double addedCount_;
  std::string_view view_;         // the bytes in the window
  std::uint64_t viewOffset_ = 0;  // position in the input of view_[0]
  std::size_t end_ = 0;           // view_.size()
  std::size_t position_ = 0;      // first byte not yet looked at
  std::size_t copiedTo_ = 0;      // first byte not yet handed to the output or dropped
  bool atEnd_ = false;
  bool finished_ = false;
  State state_ = State::kLineStart;
  LineBreaks breaks_ = LineBreaks::kUnknown;
  NumberReader count_;
  LastIdLine lastIdLine_;
};

void CopyMachine::CopyUpTo(std::size_t to) {
  if (to <= copiedTo_) return;
  output_.CopyFromInput(viewOffset_ + copiedTo_, Bytes(copiedTo_, to));
  copiedTo_ = to;
}

bool CopyMachine::ReadMore(std::size_t keepFrom) {
  CopyUpTo(keepFrom);
  const std::uint64_t oldEnd = viewOffset_ + end_;
  viewOffset_ += keepFrom;
  position_ -= keepFrom;
  copiedTo_ -= keepFrom;
  view_ = input_.From(viewOffset_);
  end_ = view_.size();
  atEnd_ = viewOffset_ + end_ == oldEnd;
  return !atEnd_;
}

void CopyMachine::StartLine() {
  if (breaks_ == LineBreaks::kCarriageReturn) {
    // Whole lines that stay as they are go by in one scan; the line after them is taken singly.
    // Lines that end in an LF alone each gain a CR, so they are all taken singly.
    const UnchangedLines run = ScanUnchangedLines(Bytes(position_, end_));
    if (!run.lastIdLine.empty()) {
      lastIdLine_.Start();
      lastIdLine_.Append(run.lastIdLine);
    }
    position_ += run.length;
  }

  // The prefixes decide what a line is, so no more than the longer prefix is needed.
  const std::string_view head =
      Bytes(position_, std::min(end_, position_ + kCountLinePrefix.size()));
  const std::size_t lineEnd = FindLineEndIn(head);
  if (head.size() < kCountLinePrefix.size() && lineEnd == std::string_view::npos && !atEnd_) {
    ReadMore(position_);
    return;
  }
  if (head.empty()) {  // the end of the input, at the start of a line
    CopyUpTo(position_);
    finished_ = true;
    return;
  }
  switch (KindOfLine(head.substr(0, lineEnd))) {
    case LineKind::kId:
      lastIdLine_.Start();
      state_ = State::kIdLine;
      break;
    case LineKind::kCount:
      CopyUpTo(position_);
      position_ += kCountLinePrefix.size();
      copiedTo_ = position_;  // the prefix is written again with the new number
      count_ = NumberReader();
      state_ = State::kCountLine;
      break;
    case LineKind::kOther:
      state_ = State::kOtherLine;
      break;
  }
}

void CopyMachine::ContinueLine() {
  const std::size_t found = FindLineEndIn(Bytes(position_, end_));
  const std::size_t stop = found != std::string_view::npos ? position_ + found : end_;
  if (state_ == State::kIdLine) lastIdLine_.Append(Bytes(position_, stop));
  if (state_ == State::kCountLine) {
    if (!count_.Ended()) count_.Feed(Bytes(position_, stop));
    copiedTo_ = stop;  // whatever followed the old number is dropped with it
  }
  position_ = stop;
  if (found != std::string_view::npos) {
    if (breaks_ == LineBreaks::kUnknown) breaks_ = LineBreaksFrom(view_[stop]);
    if (state_ == State::kCountLine) WriteCountLine();
    state_ = State::kTerminator;
  } else if (!ReadMore(end_)) {
    // The last line has no terminator; it gets one.
    if (state_ == State::kCountLine) WriteCountLine();
    CopyUpTo(position_);
    output_.Write(kLineEnd);
    finished_ = true;
  }
}

void CopyMachine::EndLine() {
  if (view_[position_] == '\n') {
    // An LF alone, in a file of LF line ends: it goes out after a CR, with the next bytes.
    CopyUpTo(position_);
    output_.Write("\r");
    ++position_;
    state_ = State::kLineStart;
    return;
  }
  if (position_ + 1 == end_ && !atEnd_) {
    ReadMore(position_);  // the CR stays, until the next byte tells whether an LF follows
    return;
  }
  if (position_ + 1 < end_ && view_[position_ + 1] == '\n') {
    position_ += 2;
  } else {
    ++position_;
    CopyUpTo(position_);
    output_.Write("\n");  // a lone CR ends a line too, and every line goes out with CR LF
  }
  state_ = State::kLineStart;
}

void CopyMachine::WriteCountLine() {
  output_.Write(kCountLinePrefix);
  output_.Write(" ");
  output_.Write(NumberText(count_.Value() + addedCount_));
}

void CopyMachine::Run() {
  ReadMore(0);
  while (!finished_ && !output_.Failed() && !input_.Failed()) {
    switch (state_) {
      case State::kLineStart:
        StartLine();
        break;
      case State::kOtherLine:
      case State::kIdLine:
      case State::kCountLine:
        ContinueLine();
        break;
      case State::kTerminator:
        EndLine();
        break;
    }
  }
}

}  // namespace

std::string CopyPass(InputWindow& input, OutputSink& output, double addedCount) {
  CopyMachine machine(input, output, addedCount);
  machine.Run();
  if (input.Failed()) {
    throw MissionStreamError(MissionStreamError::Side::kInput, "the file could not be read");
  }
  if (output.Failed()) {
    throw MissionStreamError(MissionStreamError::Side::kOutput, "the file could not be written");
  }
  return machine.LastIdLineText();
}

std::string CopyPass(std::streambuf& input, OutputSink& output, double addedCount,
                     std::size_t chunkSize) {
  StreamWindow window(input, chunkSize);
  return CopyPass(window, output, addedCount);
}

}  // namespace bosquell
