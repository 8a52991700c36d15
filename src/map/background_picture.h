#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace bosquell {

// A block of bytes from std::malloc, as the decoder hands its pixels over.
struct FreeWithStdFree {
  void operator()(std::uint8_t* bytes) const { std::free(bytes); }
};
using MallocBytes = std::unique_ptr<std::uint8_t[], FreeWithStdFree>;

// One copy of a picture: width x height pixels of three bytes each (red, green, blue), row by
// row from the top-left, with no gaps.
struct PictureLevel {
  int width = 0;
  int height = 0;
  const std::uint8_t* rgb = nullptr;

  const std::uint8_t* Row(int y) const {
    return rgb + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3;
  }
};

// A decoded picture and its smaller copies, made once: each level half the size of the one
// before (rounded up), each of its pixels the mean of the two by two it stands for, down to a
// single pixel. Three bytes a pixel and no alpha: what is transparent has already been laid on
// white. Movable, not copyable.
class BackgroundPicture {
 public:
  // Takes `rgb`, width x height pixels from std::malloc, and makes the smaller copies. Throws
  // std::bad_alloc when there is no memory for them.
  BackgroundPicture(int width, int height, MallocBytes rgb);
  // A copy of width x height pixels of three bytes; empty when there is no memory for it.
  static MallocBytes CopyOf(const std::uint8_t* rgb, int width, int height);

  int Width() const { return levels_.front().width; }
  int Height() const { return levels_.front().height; }
  // [0] is the picture itself, each next one half the size of the one before.
  const std::vector<PictureLevel>& Levels() const { return levels_; }
  // The bytes its pixels take, all levels together.
  std::size_t Bytes() const;

 private:
  MallocBytes full_;
  std::vector<std::uint8_t> smaller_;  // every level after the first, one after the other
  std::vector<PictureLevel> levels_;
};

}  // namespace bosquell
