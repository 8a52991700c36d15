#include "map/map_background.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace bosquell {
namespace {

// One axis of the mix: the two neighbouring picture pixels of a screen pixel's middle and the
// weight of the second, out of 256.
struct Tap {
  int first = 0;
  int second = 0;
  int weight = 0;
};

// The taps for the screen pixels whose middles lie at `positions` (in pixels of the whole
// picture, `whole` of them along the axis), on a level of `size` pixels along it; the screen
// pixels the picture does not cover get none, and [from, to) are those that do.
struct Taps {
  std::vector<Tap> taps;
  int from = 0;
  int to = 0;
};
Taps TapsAlong(const std::vector<double>& positions, int whole, int size) {
  Taps result;
  result.taps.resize(positions.size());
  result.from = static_cast<int>(positions.size());
  const double scale = static_cast<double>(size) / whole;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    // Checked before anything becomes an integer: far outside, or not a number, is not painted.
    if (!(positions[i] >= 0 && positions[i] < whole)) continue;
    const double at = positions[i] * scale - 0.5;
    const double below = std::floor(at);
    const int index = static_cast<int>(below);
    result.taps[i] = {std::clamp(index, 0, size - 1), std::clamp(index + 1, 0, size - 1),
                      static_cast<int>((at - below) * 256)};
    result.from = std::min(result.from, static_cast<int>(i));
    result.to = static_cast<int>(i) + 1;
  }
  return result;
}

// The level whose pixels are the smallest that are still no larger than a screen pixel; the
// whole picture when even its pixels are larger.
const PictureLevel& LevelFor(const BackgroundPicture& picture, double acrossPerScreenPixel,
                             double downPerScreenPixel) {
  const std::vector<PictureLevel>& levels = picture.Levels();
  std::size_t level = 0;
  while (level + 1 < levels.size()) {
    const PictureLevel& next = levels[level + 1];
    const double across = acrossPerScreenPixel * next.width / picture.Width();
    const double down = downPerScreenPixel * next.height / picture.Height();
    if (!(across >= 1 && down >= 1)) break;
    ++level;
  }
  return levels[level];
}

}  // namespace

std::string BackgroundCornersProblem(MapPoint topLeft, MapPoint bottomRight) {
  if (!(std::isfinite(topLeft.x) && std::isfinite(topLeft.y) && std::isfinite(bottomRight.x) &&
        std::isfinite(bottomRight.y))) {
    return "the picture's corners must be numbers";
  }
  if (topLeft.x == bottomRight.x && topLeft.y == bottomRight.y) {
    return "the picture's corners must not coincide";
  }
  if (!(topLeft.x < bottomRight.x && topLeft.y > bottomRight.y)) {
    return "the picture's top-left corner must lie left of and above its bottom-right corner";
  }
  if (!(std::isfinite(bottomRight.x - topLeft.x) && std::isfinite(topLeft.y - bottomRight.y))) {
    return "the picture's corners lie too far apart";
  }
  return {};
}

PixelPoint PicturePosition(const MapBackground& background, MapPoint point) {
  const BackgroundPicture& picture = *background.picture;
  const MapPoint& topLeft = background.topLeft;
  const MapPoint& bottomRight = background.bottomRight;
  return {(point.x - topLeft.x) / (bottomRight.x - topLeft.x) * picture.Width(),
          (topLeft.y - point.y) / (topLeft.y - bottomRight.y) * picture.Height()};
}

MapPoint MapPosition(const MapBackground& background, PixelPoint picturePixel) {
  const BackgroundPicture& picture = *background.picture;
  const MapPoint& topLeft = background.topLeft;
  const MapPoint& bottomRight = background.bottomRight;
  return {topLeft.x + picturePixel.x / picture.Width() * (bottomRight.x - topLeft.x),
          topLeft.y - picturePixel.y / picture.Height() * (topLeft.y - bottomRight.y)};
}

void PaintBackground(const MapBackground& background, const MapViewport& viewport,
                     MapScene& scene) {
  if (background.picture == nullptr || !(background.opacity > 0) ||
      !BackgroundCornersProblem(background.topLeft, background.bottomRight).empty()) {
    return;
  }
  const BackgroundPicture& picture = *background.picture;

  // Without rotation, the picture position of a screen pixel's middle depends on its column
  // alone across and on its row alone down: one pass along each edge of the screen.
  std::vector<double> across(static_cast<std::size_t>(scene.width));
  for (int x = 0; x < scene.width; ++x) {
    across[x] = PicturePosition(background, viewport.ToMap({x + 0.5, 0})).x;
  }
  std::vector<double> down(static_cast<std::size_t>(scene.height));
  for (int y = 0; y < scene.height; ++y) {
    down[y] = PicturePosition(background, viewport.ToMap({0, y + 0.5})).y;
  }
  const double perUnit = viewport.UnitsPerPixel();
  const PictureLevel& level = LevelFor(
      picture, perUnit / (background.bottomRight.x - background.topLeft.x) * picture.Width(),
      perUnit / (background.topLeft.y - background.bottomRight.y) * picture.Height());
  const Taps columns = TapsAlong(across, picture.Width(), level.width);
  const Taps rows = TapsAlong(down, picture.Height(), level.height);

  // Each mixed channel laid on white at the opacity, in whole numbers, so that every platform
  // paints the same bytes.
  const int opacity = background.opacity >= 1 ? 256 : static_cast<int>(background.opacity * 256);
  std::array<std::uint32_t, 256> onWhite{};
  for (int value = 0; value < 256; ++value) {
    onWhite[value] =
        static_cast<std::uint32_t>((value * opacity + 255 * (256 - opacity) + 128) >> 8);
  }

  for (int y = rows.from; y < rows.to; ++y) {
    const Tap& row = rows.taps[y];
    const std::uint8_t* upper = level.Row(row.first);
    const std::uint8_t* lower = level.Row(row.second);
    std::uint32_t* out = scene.pixels.data() + static_cast<std::size_t>(y) * scene.width;
    for (int x = columns.from; x < columns.to; ++x) {
      const Tap& column = columns.taps[x];
      const int left = 3 * column.first;
      const int right = 3 * column.second;
      std::uint32_t packed = 0;
      for (int channel = 0; channel < 3; ++channel) {
        const int top =
            upper[left + channel] * (256 - column.weight) + upper[right + channel] * column.weight;
        const int bottom =
            lower[left + channel] * (256 - column.weight) + lower[right + channel] * column.weight;
        const int mixed = (top * (256 - row.weight) + bottom * row.weight + 32768) >> 16;
        packed = (packed << 8) | onWhite[mixed];
      }
      out[x] = packed;
    }
  }
}

}  // namespace bosquell
