#include "map/background_picture.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace bosquell {
namespace {

std::size_t PixelBytes(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
}

// The level below `from`: each pixel the rounded mean of a two by two block; a last odd column
// or row counts twice.
void Halve(const PictureLevel& from, PictureLevel& to, std::uint8_t* out) {
  for (int y = 0; y < to.height; ++y) {
    const std::uint8_t* upper = from.Row(2 * y);
    const std::uint8_t* lower = from.Row(std::min(2 * y + 1, from.height - 1));
    std::uint8_t* row = out + PixelBytes(to.width, y);
    // Whole pairs first, in a loop the compiler can widen; then the odd column, if any.
    const int pairs = from.width / 2;
    for (int x = 0; x < pairs; ++x) {
      for (int channel = 0; channel < 3; ++channel) {
        const int left = 6 * x + channel;
        row[3 * x + channel] = static_cast<std::uint8_t>(
            (upper[left] + upper[left + 3] + lower[left] + lower[left + 3] + 2) >> 2);
      }
    }
    if (pairs < to.width) {
      for (int channel = 0; channel < 3; ++channel) {
        const int left = 6 * pairs + channel;
        row[3 * pairs + channel] =
            static_cast<std::uint8_t>((2 * upper[left] + 2 * lower[left] + 2) >> 2);
      }
    }
  }
}

}  // namespace

BackgroundPicture::BackgroundPicture(int width, int height, MallocBytes rgb)
    : full_(std::move(rgb)) {
  levels_.push_back({width, height, full_.get()});
  std::size_t total = 0;
  for (int w = width, h = height; w > 1 || h > 1;) {
    w = (w + 1) / 2;
    h = (h + 1) / 2;
    total += PixelBytes(w, h);
    levels_.push_back({w, h, nullptr});
  }
  smaller_.resize(total);
  std::size_t offset = 0;
  for (std::size_t level = 1; level < levels_.size(); ++level) {
    PictureLevel& to = levels_[level];
    std::uint8_t* out = smaller_.data() + offset;
    Halve(levels_[level - 1], to, out);
    to.rgb = out;
    offset += PixelBytes(to.width, to.height);
  }
}

MallocBytes BackgroundPicture::CopyOf(const std::uint8_t* rgb, int width, int height) {
  const std::size_t bytes = PixelBytes(width, height);
  MallocBytes copy(static_cast<std::uint8_t*>(std::malloc(bytes)));
  if (copy) std::memcpy(copy.get(), rgb, bytes);
  return copy;
}

std::size_t BackgroundPicture::Bytes() const {
  return PixelBytes(Width(), Height()) + smaller_.size();
}

}  // namespace bosquell
