#include "map/png_row_filter.h"

#include <cstdlib>
#include <cstring>

namespace bosquell {
namespace {

constexpr std::size_t kBytesPerPixel = 3;

// The neighbour nearest to left + up - upLeft; ties go to left, then up. Written without branches
// on the bytes: which one wins differs from byte to byte and would be guessed wrong half the time.
int Paeth(int left, int up, int upLeft) {
  const int toLeft = std::abs(up - upLeft);
  const int toUp = std::abs(left - upLeft);
  const int toUpLeft = std::abs(left + up - 2 * upLeft);
  const int nearerOfUp = toUp <= toUpLeft ? up : upLeft;
  return toLeft <= toUp && toLeft <= toUpLeft ? left : nearerOfUp;
}

}  // namespace

bool UnfilterRgbRow(std::uint8_t filter, const std::uint8_t* filtered, const std::uint8_t* prior,
                    std::uint8_t* row, std::size_t length) {
  // The left pixel's bytes are kept in registers from one pixel to the next rather than read back
  // from the row just written: the filters that look left would wait on that read at each byte.
  // The first pixel has no left neighbour: left and up-left count as zero.
  int red = 0, green = 0, blue = 0;
  const auto put = [&](std::size_t i, int r, int g, int b) {
    red = row[i] = static_cast<std::uint8_t>(filtered[i] + r);
    green = row[i + 1] = static_cast<std::uint8_t>(filtered[i + 1] + g);
    blue = row[i + 2] = static_cast<std::uint8_t>(filtered[i + 2] + b);
  };
  switch (filter) {
    case 0:  // None
      std::memcpy(row, filtered, length);
      return true;
    case 1:  // Sub
      for (std::size_t i = 0; i < length; i += kBytesPerPixel) put(i, red, green, blue);
      return true;
    case 2:  // Up
      for (std::size_t i = 0; i < length; ++i)
        row[i] = static_cast<std::uint8_t>(filtered[i] + prior[i]);
      return true;
    case 3:  // Average
      for (std::size_t i = 0; i < length; i += kBytesPerPixel)
        put(i, (red + prior[i]) >> 1, (green + prior[i + 1]) >> 1, (blue + prior[i + 2]) >> 1);
      return true;
    case 4: {  // Paeth
      int upRed = 0, upGreen = 0, upBlue = 0;
      for (std::size_t i = 0; i < length; i += kBytesPerPixel) {
        put(i, Paeth(red, prior[i], upRed), Paeth(green, prior[i + 1], upGreen),
            Paeth(blue, prior[i + 2], upBlue));
        upRed = prior[i], upGreen = prior[i + 1], upBlue = prior[i + 2];
      }
      return true;
    }
    default:
      return false;
  }
}

}  // namespace bosquell
