#include "mission/line_reader.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace bosquell {

LineReader::LineReader(std::streambuf& source, std::size_t chunkSize, std::size_t headLength)
    : source_(source),
      chunkSize_(std::max<std::size_t>(chunkSize, 2)),
      headLength_(std::max<std::size_t>(headLength, 1)),
      buffer_(chunkSize_) {}

bool LineReader::Refill() {
  if (atEnd_) return false;
  // Keep the unfinished line, moved to the front; grow only when one line fills the buffer.
  const std::size_t kept = end_ - begin_;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
    begin_ = 0;
    end_ = kept;
  }
  if (buffer_.size() - end_ < chunkSize_ / 2) buffer_.resize(buffer_.size() + chunkSize_);

  std::streamsize got = 0;
  try {
    got = source_.sgetn(buffer_.data() + end_, static_cast<std::streamsize>(buffer_.size() - end_));
  } catch (const std::exception&) {
    failed_ = true;  // a file buffer reports a failed read by throwing or by a short count
  }
  if (got <= 0) {
    atEnd_ = true;
    return false;
  }
  end_ += static_cast<std::size_t>(got);
  return true;
}

bool LineReader::NextAcrossChunks(std::string_view& line) {
  std::size_t scanFrom = begin_;
  for (;;) {
    if (skipLineFeed_ && begin_ < end_) {
      // A CR closed the previous line at the end of a chunk; its LF, if any, opens this one.
      if (buffer_[begin_] == '\n') ++begin_;
      skipLineFeed_ = false;
      scanFrom = begin_;
    }
    const char* const end = buffer_.data() + end_;
    const char* const lineEnd = FindLineEnd(buffer_.data() + scanFrom, end, breaks_);
    if (lineEnd != end) {
      if (breaks_ == LineBreaks::kUnknown) breaks_ = LineBreaksFrom(*lineEnd);
      const std::size_t breakAt = static_cast<std::size_t>(lineEnd - buffer_.data());
      // A cut line keeps its head; what was read after it up to the break is dropped.
      line =
          std::string_view(buffer_.data() + begin_,
                           cutting_ ? std::min(headLength_, breakAt - begin_) : breakAt - begin_);
      cut_ = cutting_;
      cutting_ = false;
      begin_ = breakAt + 1;
      if (*lineEnd == '\r') {
        if (begin_ == end_) {
          skipLineFeed_ = true;  // its LF, if any, is not read yet
        } else if (buffer_[begin_] == '\n') {
          ++begin_;
        }
      }
      return true;
    }
    if (end_ - begin_ > headLength_) {
      end_ = begin_ + headLength_;  // no break in what is dropped: the line goes on past its head
      cutting_ = true;
    }
    const std::size_t scanned = end_ - begin_;
    if (!Refill()) {
      if (skipLineFeed_) skipLineFeed_ = false;
      if (begin_ == end_) return false;
      line = std::string_view(buffer_.data() + begin_, end_ - begin_);  // unterminated last line
      cut_ = cutting_;
      cutting_ = false;
      begin_ = end_;
      return true;
    }
    scanFrom = begin_ + scanned;  // only the new bytes can hold the terminator
  }
}

}  // namespace bosquell
