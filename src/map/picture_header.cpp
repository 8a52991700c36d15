#include "map/picture_header.h"

#include <algorithm>
#include <array>

namespace bosquell {
namespace {

// Unsigned numbers in the first bytes; 0 where the bytes are not there.
std::uint32_t BigEndian(std::span<const std::uint8_t> lead, std::size_t at, int bytes) {
  if (at + bytes > lead.size()) return 0;
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | lead[at + i];
  return value;
}
std::uint32_t LittleEndian(std::span<const std::uint8_t> lead, std::size_t at, int bytes) {
  if (at + bytes > lead.size()) return 0;
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | lead[at + i];
  return value;
}

std::uint64_t Ceiling(std::uint64_t value, std::uint64_t step) {
  return (value + step - 1) / step;
}

// PNG: the signature, then the header chunk (length, type, width, height, bit depth, colour type
// ...); each row of the unpacked data is a filter byte and the row's pixels.
std::uint64_t LeastPngBytes(std::span<const std::uint8_t> lead, std::uint64_t width,
                            std::uint64_t height) {
  constexpr std::uint64_t kSignatureAndHeader = 8 + 25;
  constexpr std::uint64_t kDeflateMostShrink = 1032;
  const std::uint32_t depth = BigEndian(lead, 24, 1);
  std::uint32_t channels = 1;  // grey, or an index into the palette
  switch (BigEndian(lead, 25, 1)) {
    case 2:
      channels = 3;
      break;  // red, green, blue
    case 4:
      channels = 2;
      break;  // grey and alpha
    case 6:
      channels = 4;
      break;  // red, green, blue and alpha
    default:
      break;
  }
  const std::uint64_t rowBytes = 1 + Ceiling(width * depth * channels, 8);
  return kSignatureAndHeader + height * rowBytes / kDeflateMostShrink;
}

// JPEG: the component with the most samples has one 8 x 8 block for each 8 x 8 pixels, and the
// entropy-coded data spends at least one bit on each block (its first DC code).
std::uint64_t LeastJpegBytes(std::uint64_t width, std::uint64_t height) {
  constexpr std::uint64_t kStartMarker = 2;
  return kStartMarker + Ceiling(width, 8) * Ceiling(height, 8) / 8;
}

// BMP: a 14-byte file header, the info header of the size its first field gives, then the rows,
// uncompressed, each padded to four bytes (stb_image reads no compressed BMP).
std::uint64_t LeastBmpBytes(std::span<const std::uint8_t> lead, std::uint64_t width,
                            std::uint64_t height) {
  constexpr std::uint64_t kFileHeader = 14;
  const std::uint32_t infoHeader = LittleEndian(lead, 14, 4);
  const std::uint32_t bitsPerPixel = LittleEndian(lead, infoHeader == 12 ? 24 : 28, 2);
  const std::uint64_t rowBytes = Ceiling(width * bitsPerPixel, 32) * 4;
  return kFileHeader + infoHeader + height * rowBytes;
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(std::span<const std::uint8_t> lead) {
  const auto startsWith = [&](std::span<const std::uint8_t> signature) {
    return lead.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), lead.begin());
  };
  static constexpr std::array<std::uint8_t, 8> kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr std::array<std::uint8_t, 3> kJpeg = {0xFF, 0xD8, 0xFF};
  static constexpr std::array<std::uint8_t, 2> kBmp = {'B', 'M'};
  if (startsWith(kPng)) return PictureFormat::kPng;
  if (startsWith(kJpeg)) return PictureFormat::kJpeg;
  if (startsWith(kBmp)) return PictureFormat::kBmp;
  return std::nullopt;
}

std::optional<PictureSize> PictureSizeInLead(PictureFormat format,
                                             std::span<const std::uint8_t> lead) {
  if (format == PictureFormat::kPng && lead.size() >= 24) {
    return PictureSize{BigEndian(lead, 16, 4), BigEndian(lead, 20, 4)};
  }
  if (format == PictureFormat::kBmp && lead.size() >= 26) {
    if (LittleEndian(lead, 14, 4) == 12) {
      return PictureSize{LittleEndian(lead, 18, 2), LittleEndian(lead, 20, 2)};
    }
    // A negative height stands for rows from the top down.
    const auto height = static_cast<std::int32_t>(LittleEndian(lead, 22, 4));
    return PictureSize{LittleEndian(lead, 18, 4), height < 0
                                                      ? 0u - static_cast<std::uint32_t>(height)
                                                      : static_cast<std::uint32_t>(height)};
  }
  return std::nullopt;
}

std::uint64_t LeastPictureFileBytes(PictureFormat format, std::span<const std::uint8_t> lead,
                                    std::uint32_t width, std::uint32_t height) {
  switch (format) {
    case PictureFormat::kPng:
      return LeastPngBytes(lead, width, height);
    case PictureFormat::kJpeg:
      return LeastJpegBytes(width, height);
    case PictureFormat::kBmp:
      return LeastBmpBytes(lead, width, height);
  }
  return 0;
}

}  // namespace bosquell
