#include "mission/input_window.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace bosquell {
namespace {

// Room beyond a chunk for the bytes kept from the previous view.
constexpr std::size_t kSlack = 64;

}  // namespace

StreamWindow::StreamWindow(std::streambuf& source, std::size_t chunkSize)
    : source_(source), chunkSize_(std::max<std::size_t>(chunkSize, 1)) {}

std::string_view StreamWindow::From(std::uint64_t offset) {
  // Keep what is held from `offset` on, at the front, and read after it.
  const auto keepFrom =
      static_cast<std::size_t>(std::min<std::uint64_t>(offset - bufferOffset_, end_));
  const std::size_t kept = end_ - keepFrom;
  if (capacity_ < kept + chunkSize_) {
    // The bytes kept are the start of a line or a CR, a few bytes, so this is sized once.
    const std::size_t capacity = kept + chunkSize_ + kSlack;
    auto larger = std::make_unique_for_overwrite<char[]>(capacity);
    if (kept > 0) std::memcpy(larger.get(), buffer_.get() + keepFrom, kept);
    buffer_ = std::move(larger);
    capacity_ = capacity;
  } else if (kept > 0) {
    std::memmove(buffer_.get(), buffer_.get() + keepFrom, kept);
  }
  bufferOffset_ = offset;
  end_ = kept;
  std::streamsize got = 0;
  try {
    if (!failed_)
      got = source_.sgetn(buffer_.get() + end_, static_cast<std::streamsize>(chunkSize_));
  } catch (const std::exception&) {
    failed_ = true;  // a file buffer reports a failed read by throwing or by a short count
  }
  if (got > 0) end_ += static_cast<std::size_t>(got);
  return std::string_view(buffer_.get(), end_);
}

std::string_view ObservedWindow::From(std::uint64_t offset) {
  const std::string_view view = window_.From(offset);
  // A view starts no later than the bytes already handed on end: each new view reaches further.
  const std::uint64_t end = offset + view.size();
  if (end > seenTo_ && offset <= seenTo_) {
    seen_(view.substr(static_cast<std::size_t>(seenTo_ - offset)));
    seenTo_ = end;
  }
  return view;
}

}  // namespace bosquell
