#include "map/plain_png.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "map/stb_image_library.h"

namespace bosquell {
namespace {

constexpr std::size_t kBytesPerPixel = 3;

std::uint32_t BigEndian(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
         static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
}

int Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return left;
  return toUp <= toUpLeft ? up : upLeft;
}

// Undoes one row's filter in place; `prior` is the row above, unfiltered, or zeros.
bool Unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior,
              std::size_t length) {
  constexpr std::size_t bpp = kBytesPerPixel;
  switch (filter) {
    case 0:
      return true;
    case 1:
      for (std::size_t i = bpp; i < length; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
      return true;
    case 2:
      for (std::size_t i = 0; i < length; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      return true;
    case 3:
      for (std::size_t i = 0; i < length; ++i) {
        const int left = i >= bpp ? row[i - bpp] : 0;
        row[i] = static_cast<std::uint8_t>(row[i] + ((left + prior[i]) >> 1));
      }
      return true;
    case 4:
      for (std::size_t i = 0; i < length; ++i) {
        const int left = i >= bpp ? row[i - bpp] : 0;
        const int upLeft = i >= bpp ? prior[i - bpp] : 0;
        row[i] = static_cast<std::uint8_t>(row[i] + Paeth(left, prior[i], upLeft));
      }
      return true;
    default:
      return false;
  }
}

PlainPngPixels Refused(std::string why) {
  return {nullptr, std::move(why)};
}

// The data of every IDAT chunk, one after the other; or why the chunks cannot be read.
struct CompressedData {
  std::unique_ptr<char[]> bytes;
  std::size_t size = 0;
  std::string problem;
};

// `room` bounds the data: the file's size, and what deflate may take at worst for the rows.
CompressedData ReadCompressed(PictureFileReader& reader, std::uint64_t room) {
  CompressedData data;
  // Room for all of it at once: nothing is moved as it grows.
  data.bytes.reset(new char[room]);
  while (true) {
    std::array<std::uint8_t, 8> head{};
    if (reader.Read(reinterpret_cast<char*>(head.data()), head.size()) != head.size()) {
      data.problem = "it is cut short";
      return data;
    }
    const std::uint32_t length = BigEndian(head.data());
    if (std::memcmp(head.data() + 4, "IEND", 4) == 0) return data;
    if (length > room - data.size) {
      data.problem = "it is cut short or damaged (a chunk longer than the file)";
      return data;
    }
    if (std::memcmp(head.data() + 4, "IDAT", 4) == 0) {
      if (reader.Read(data.bytes.get() + data.size, length) != length) {
        data.problem = "it is cut short";
        return data;
      }
      data.size += length;
      reader.Skip(4);  // the checksum
    } else {
      reader.Skip(std::uint64_t{length} + 4);
    }
    if (reader.Error()) return data;
  }
}

}  // namespace

std::optional<PlainPngPixels> DecodePlainPng(PictureFileReader& reader, int width, int height,
                                             std::uint64_t fileSize) {
  // The signature, then IHDR: its length and type, width, height, depth, colour type,
  // compression, filter method and interlacing.
  std::array<std::uint8_t, 8 + 8 + 13> lead{};
  if (!reader.Restart() ||
      reader.Read(reinterpret_cast<char*>(lead.data()), lead.size()) != lead.size()) {
    return std::nullopt;
  }
  const std::uint8_t* header = lead.data() + 16;
  const bool plain = std::memcmp(lead.data() + 12, "IHDR", 4) == 0 &&
                     BigEndian(header) == static_cast<std::uint32_t>(width) &&
                     BigEndian(header + 4) == static_cast<std::uint32_t>(height) &&
                     header[8] == 8 && header[9] == 2 && header[12] == 0;
  if (!plain) return std::nullopt;
  reader.Skip(4);  // IHDR's checksum

  const std::size_t stride = static_cast<std::size_t>(width) * kBytesPerPixel;
  const std::size_t rows = static_cast<std::size_t>(height);
  const std::size_t inflatedSize = rows * (stride + 1);  // a filter byte before each row
  if (inflatedSize > INT_MAX) return std::nullopt;
  // Deflate stores data it cannot shrink in blocks of at most 65535 bytes, each with 5 bytes of
  // its own, after a 2-byte header and before a 4-byte checksum.
  const std::uint64_t worst = inflatedSize + inflatedSize / 65535 * 5 + 5 + 6;
  CompressedData compressed = ReadCompressed(reader, std::min<std::uint64_t>(fileSize, worst));
  if (reader.Error()) return Refused("it cannot be read: " + reader.Error().message());
  if (!compressed.problem.empty()) return Refused(std::move(compressed.problem));
  if (compressed.size > INT_MAX) return Refused("it is damaged (its data is too long)");

  MallocBytes pixels(static_cast<std::uint8_t*>(std::malloc(inflatedSize)));
  if (!pixels) return Refused("there is not enough memory for the picture");
  // A block of exactly the rows' size: data that inflates to more or less is refused.
  const int inflated =
      stbi_zlib_decode_buffer(reinterpret_cast<char*>(pixels.get()), static_cast<int>(inflatedSize),
                              compressed.bytes.get(), static_cast<int>(compressed.size));
  compressed.bytes.reset();
  if (inflated != static_cast<int>(inflatedSize)) {
    const char* reason = inflated < 0 ? stbi_failure_reason() : nullptr;
    return Refused(std::string("it is damaged (") +
                   (reason != nullptr ? reason : "not enough data") + ")");
  }
  // Each row is unfiltered where it lies, then moved down over the filter bytes before it: a
  // row's new place never reaches the next row's data.
  std::uint8_t* rgb = pixels.get();
  const std::vector<std::uint8_t> zeros(stride, 0);
  for (std::size_t row = 0; row < rows; ++row) {
    std::uint8_t* filtered = rgb + row * (stride + 1);
    const std::uint8_t* prior = row == 0 ? zeros.data() : rgb + (row - 1) * stride;
    if (!Unfilter(filtered[0], filtered + 1, prior, stride)) {
      return Refused("it is damaged (bad filter method)");
    }
    std::memmove(rgb + row * stride, filtered + 1, stride);
  }
  // The filter bytes' room at the end is given back where the system can.
  if (void* smaller = std::realloc(pixels.get(), rows * stride)) {
    (void)pixels.release();
    pixels.reset(static_cast<std::uint8_t*>(smaller));
  }
  return PlainPngPixels{std::move(pixels), {}};
}

}  // namespace bosquell
