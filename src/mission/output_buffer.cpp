#include "mission/output_buffer.h"

#include <cstring>
#include <exception>

namespace bosquell {

OutputBuffer::OutputBuffer(std::streambuf& sink, std::size_t capacity)
    : sink_(sink), buffer_(capacity > 0 ? capacity : 1) {}

OutputBuffer::~OutputBuffer() {
  Drain();
}

void OutputBuffer::Write(std::string_view bytes) {
  if (bytes.size() > buffer_.size() - used_) {
    Drain();
    if (bytes.size() > buffer_.size()) {
      // Larger than the whole buffer: hand it over directly instead of copying it in pieces.
      try {
        const auto size = static_cast<std::streamsize>(bytes.size());
        if (!failed_ && sink_.sputn(bytes.data(), size) != size) failed_ = true;
      } catch (const std::exception&) {
        failed_ = true;
      }
      return;
    }
  }
  std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void OutputBuffer::Drain() {
  if (used_ == 0) return;
  try {
    const auto size = static_cast<std::streamsize>(used_);
    if (!failed_ && sink_.sputn(buffer_.data(), size) != size) failed_ = true;
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
