#include "mission/input_window.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace bosquell {

StreamWindow::StreamWindow(std::streambuf& source, std::size_t chunkSize)
    : source_(source), chunkSize_(std::max<std::size_t>(chunkSize, 1)) {}

std::string_view StreamWindow::From(std::uint64_t offset) {
  // Keep what is held from `offset` on, at the front, and read after it.
  const auto keepFrom =
      static_cast<std::size_t>(std::min<std::uint64_t>(offset - bufferOffset_, end_));
  const std::size_t kept = end_ - keepFrom;
  if (buffer_.size() < kept + chunkSize_) buffer_.resize(kept + chunkSize_);
  std::memmove(buffer_.data(), buffer_.data() + keepFrom, kept);
  bufferOffset_ = offset;
  end_ = kept;
  std::streamsize got = 0;
  try {
    if (!failed_)
      got = source_.sgetn(buffer_.data() + end_, static_cast<std::streamsize>(chunkSize_));
  } catch (const std::exception&) {
    failed_ = true;  // a file buffer reports a failed read by throwing or by a short count
  }
  if (got > 0) end_ += static_cast<std::size_t>(got);
  return std::string_view(buffer_.data(), end_);
}

}  // namespace bosquell
