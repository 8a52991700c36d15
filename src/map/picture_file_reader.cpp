#include "map/picture_file_reader.h"

#include <algorithm>
#include <cstring>

namespace bosquell {
namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;

}  // namespace

PictureFileReader::PictureFileReader(const NativeFile& file) : file_(file), buffer_(kBufferBytes) {}

bool PictureFileReader::Fill() {
  next_ = 0;
  end_ = 0;
  if (atEnd_) return false;
  const std::ptrdiff_t got = ReadSome(file_, buffer_.data(), buffer_.size(), error_);
  if (got <= 0) {
    atEnd_ = true;
    return false;
  }
  end_ = static_cast<std::size_t>(got);
  return true;
}

std::size_t PictureFileReader::Read(char* data, std::size_t size) {
  std::size_t copied = 0;
  while (copied < size) {
    if (next_ == end_) {
      // A large read goes straight to its destination.
      if (size - copied >= buffer_.size() && !atEnd_) {
        const std::ptrdiff_t got = ReadSome(file_, data + copied, size - copied, error_);
        if (got > 0) {
          copied += static_cast<std::size_t>(got);
          continue;
        }
        atEnd_ = true;
      }
      if (!Fill()) break;
    }
    const std::size_t piece = std::min(size - copied, end_ - next_);
    std::memcpy(data + copied, buffer_.data() + next_, piece);
    next_ += piece;
    copied += piece;
  }
  // The last piece of a file may be shorter than asked; nothing at all means the decoder wanted
  // more than there is.
  if (copied == 0 && size > 0) wentPastEnd_ = true;
  return copied;
}

void PictureFileReader::Skip(std::uint64_t count) {
  while (count > 0) {
    if (next_ == end_ && !Fill()) {
      wentPastEnd_ = true;
      return;
    }
    const std::size_t piece =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, end_ - next_));
    next_ += piece;
    count -= piece;
  }
}

bool PictureFileReader::AtEnd() {
  return next_ == end_ && !Fill();
}

bool PictureFileReader::Restart() {
  next_ = 0;
  end_ = 0;
  atEnd_ = false;
  wentPastEnd_ = false;
  return Rewind(file_, error_);
}

}  // namespace bosquell
