#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace bosquell {

enum class PictureFormat { kPng, kJpeg, kBmp };

// The largest picture the map takes: 8192 x 8192 pixels in all, no side over 16384. Kept at
// three bytes a pixel with its smaller copies, such a picture takes 256 MiB, and decoding it
// needs about 384 MiB at the peak (the file's unpacked data and the pixels side by side), which
// is as much as the map window can spend and stay under 400 MiB.
inline constexpr std::uint64_t kMostPicturePixels = std::uint64_t{8192} * 8192;
inline constexpr int kLongestPictureSide = 16384;

// The format the first bytes of a file announce, if one the map reads.
std::optional<PictureFormat> PictureFormatOf(std::span<const std::uint8_t> lead);

struct PictureSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// The size PNG and BMP headers give at their fixed places, read before the decoder sees the
// file so that a size it would refuse on its own still gets its own message; none for JPEG, whose
// size lies behind markers of any length.
std::optional<PictureSize> PictureSizeInLead(PictureFormat format,
                                             std::span<const std::uint8_t> lead);

// The fewest bytes a file of the format can hold a picture of width x height pixels in, from
// what its first bytes say of how the pixels are stored: the bound for the most compressed data
// the format allows (deflate shrinks at most 1032 to 1; a JPEG spends at least a bit on each
// 8 x 8 block). A shorter file is cut short or its header is wrong, and is refused before any
// room is made for its pixels.
std::uint64_t LeastPictureFileBytes(PictureFormat format, std::span<const std::uint8_t> lead,
                                    std::uint32_t width, std::uint32_t height);

}  // namespace bosquell
