#include "takeback/mission_line_walker.h"

#include <algorithm>

#include "mission/line_break_scan.h"
#include "mission/unchanged_lines.h"

namespace bosquell {
namespace {

std::uint64_t CountCarriageReturns(std::string_view bytes) {
  std::uint64_t count = 0;
  ForEachCarriageReturn(bytes.data(), bytes.data() + bytes.size(), [&count](const char*) {
    ++count;
    return true;
  });
  return count;
}

}  // namespace

MissionLineWalker::MissionLineWalker(InputWindow& input, std::size_t headLength,
                                     WindowListener* listener)
    : input_(input), headLength_(std::max<std::size_t>(headLength, 1)), listener_(listener) {}

void MissionLineWalker::MoveWindow(std::size_t keepFrom) {
  if (keepFrom > 0 && listener_ != nullptr) {
    listener_->Leaving(viewOffset_, view_.substr(0, keepFrom));
  }
  const std::uint64_t oldEnd = viewOffset_ + view_.size();
  viewOffset_ += keepFrom;
  view_ = input_.From(viewOffset_);
  atEnd_ = viewOffset_ + view_.size() == oldEnd;
}

void MissionLineWalker::Refill(bool carriageReturnAtEnd) {
  const std::size_t size = view_.size();
  if (!cutting_ && size - lineStart_ > headLength_) {
    // The line is longer than its head: the head is kept aside and the rest streams past.
    cutHead_.assign(view_.substr(lineStart_, headLength_));
    cutting_ = true;
  }
  // A CR at the end stays, until the next byte tells whether an LF follows it.
  const std::size_t scanned = carriageReturnAtEnd ? size - 1 : size;
  const std::size_t keepFrom = cutting_ ? scanned : lineStart_;
  MoveWindow(keepFrom);
  scanFrom_ = scanned - keepFrom;
  if (!cutting_) lineStart_ = 0;
}

bool MissionLineWalker::Next(MissionLine& line) {
  for (;;) {
    const char* const data = view_.data();
    const char* const end = data + view_.size();
    const char* const from = data + scanFrom_;
    const char* const found = breaks_ == LineBreaks::kCarriageReturn
                                  ? FindCarriageReturn(from, end)
                                  : FindLineEnd(from, end, breaks_);
    std::size_t textEnd = view_.size();
    std::uint32_t breakLength = 0;
    if (found != end) {
      textEnd = static_cast<std::size_t>(found - data);
      if (*found == '\r' && textEnd + 1 == view_.size() && !atEnd_) {
        Refill(true);
        continue;
      }
      if (breaks_ == LineBreaks::kUnknown) breaks_ = LineBreaksFrom(*found);
      breakLength = *found == '\r' && textEnd + 1 < view_.size() && found[1] == '\n' ? 2 : 1;
    } else if (!atEnd_) {
      Refill(false);
      continue;
    } else if (!cutting_ && lineStart_ == view_.size()) {
      return false;
    }

    line.offset = lineOffset_;
    line.length = viewOffset_ + textEnd - lineOffset_;
    line.breakLength = breakLength;
    line.head = cutting_ ? std::string_view(cutHead_)
                         : view_.substr(lineStart_, std::min(textEnd - lineStart_, headLength_));
    cutting_ = false;
    lineStart_ = textEnd + breakLength;
    scanFrom_ = lineStart_;
    lineOffset_ = viewOffset_ + lineStart_;
    return true;
  }
}

std::uint64_t MissionLineWalker::SkipUnchangedLines(std::uint64_t limit) {
  if (breaks_ != LineBreaks::kCarriageReturn || cutting_) return 0;
  const std::uint64_t stop = std::min<std::uint64_t>(viewOffset_ + view_.size(), limit);
  if (stop <= lineOffset_) return 0;
  const std::string_view bytes =
      view_.substr(lineStart_, static_cast<std::size_t>(stop - lineOffset_));
  const std::size_t length = ScanUnchangedLines(bytes).length;
  lineStart_ += length;
  scanFrom_ = std::max(scanFrom_, lineStart_);
  lineOffset_ += length;
  return CountCarriageReturns(bytes.substr(0, length));
}

void MissionLineWalker::SkipTo(std::uint64_t offset) {
  while (offset > viewOffset_ + view_.size() && !atEnd_) MoveWindow(view_.size());
  lineStart_ =
      static_cast<std::size_t>(std::min<std::uint64_t>(offset - viewOffset_, view_.size()));
  scanFrom_ = lineStart_;
  lineOffset_ = viewOffset_ + lineStart_;
  cutting_ = false;
}

void MissionLineWalker::Finish() {
  if (listener_ != nullptr && !view_.empty()) listener_->Leaving(viewOffset_, view_);
  viewOffset_ += view_.size();
  view_ = {};
  lineStart_ = 0;
  scanFrom_ = 0;
}

}  // namespace bosquell
