#include "files/file_buffers.h"

#include <ios>

namespace bosquell {
namespace {

// Large enough that the requests cost nothing, small enough that the disk starts early.
constexpr std::uint64_t kWritebackStep = 8 * 1024 * 1024;

}  // namespace

std::streamsize FileReadBuffer::xsgetn(char* data, std::streamsize size) {
  std::streamsize total = 0;
  if (size <= 0) return 0;
  if (gptr() < egptr()) {  // the byte underflow() read ahead
    *data = *gptr();
    gbump(1);
    ++total;
  }
  while (total < size) {
    const std::ptrdiff_t got =
        ReadSome(file_, data + total, static_cast<std::size_t>(size - total), error_);
    if (got < 0) throw std::ios_base::failure("the file could not be read", error_);
    if (got == 0) break;
    total += got;
  }
  return total;
}

FileReadBuffer::int_type FileReadBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  const std::ptrdiff_t got = ReadSome(file_, &single_, 1, error_);
  if (got < 0) throw std::ios_base::failure("the file could not be read", error_);
  if (got == 0) return traits_type::eof();
  setg(&single_, &single_, &single_ + 1);
  return traits_type::to_int_type(single_);
}

std::streamsize FileWriteBuffer::xsputn(const char* data, std::streamsize size) {
  if (file_ == nullptr || error_) return 0;
  std::error_code error;
  if (!WriteAll(*file_, data, static_cast<std::size_t>(size), error)) {
    error_ = error;
    return 0;
  }
  written_ += static_cast<std::uint64_t>(size);
  if (written_ - writebackFrom_ >= kWritebackStep) {
    StartWriteback(*file_, writebackFrom_, written_ - writebackFrom_);
    writebackFrom_ = written_;
  }
  return size;
}

FileWriteBuffer::int_type FileWriteBuffer::overflow(int_type byte) {
  if (traits_type::eq_int_type(byte, traits_type::eof())) return traits_type::not_eof(byte);
  const char c = traits_type::to_char_type(byte);
  return xsputn(&c, 1) == 1 ? byte : traits_type::eof();
}

}  // namespace bosquell
