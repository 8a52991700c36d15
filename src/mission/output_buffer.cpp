#include "mission/output_buffer.h"

#include <cstring>
#include <exception>

namespace bosquell {

OutputBuffer::OutputBuffer(std::streambuf& sink, std::size_t capacity)
    : sink_(sink),
      capacity_(capacity > 0 ? capacity : 1),
      buffer_(std::make_unique_for_overwrite<char[]>(capacity_)) {}

OutputBuffer::~OutputBuffer() {
  Drain();
}

void OutputBuffer::WriteLarge(std::string_view bytes) {
  Drain();
  if (bytes.size() < capacity_ / 4) {
    std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    used_ = bytes.size();
    return;
  }
  // A large piece goes to the sink directly: copying it into the buffer first gains nothing.
  try {
    const auto size = static_cast<std::streamsize>(bytes.size());
    if (!failed_ && sink_.sputn(bytes.data(), size) != size) failed_ = true;
  } catch (const std::exception&) {
    failed_ = true;
  }
}

void OutputBuffer::Drain() {
  if (used_ == 0) return;
  try {
    const auto size = static_cast<std::streamsize>(used_);
    if (!failed_ && sink_.sputn(buffer_.get(), size) != size) failed_ = true;
  } catch (const std::exception&) {
    failed_ = true;
  }
  used_ = 0;
}

bool OutputBuffer::Flush() {
  Drain();
  try {
    if (!failed_ && sink_.pubsync() != 0) failed_ = true;
  } catch (const std::exception&) {
    failed_ = true;
  }
  return !failed_;
}

}  // namespace bosquell
