#include "map/map_viewport.h"

#include <algorithm>
#include <cmath>

namespace bosquell {
namespace {

// Closer than a thousandth of a map unit a pixel, or wider than the whole 32-bit map in one,
// there is nothing more to see.
constexpr double kFinest = 1.0 / 1024;
constexpr double kCoarsest = 1 << 24;

}  // namespace

void MapViewport::Resize(int width, int height) {
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
}

void MapViewport::Fit(const MapRectangle& rectangle, double marginPixels) {
  // Halves first: the sum of two far positions may overflow where their middle does not.
  center_ = {rectangle.left / 2 + rectangle.right / 2, rectangle.bottom / 2 + rectangle.top / 2};
  const double usableWidth = std::max(width_ - 2 * marginPixels, 1.0);
  const double usableHeight = std::max(height_ - 2 * marginPixels, 1.0);
  const double perPixel = std::max((rectangle.right - rectangle.left) / usableWidth,
                                   (rectangle.top - rectangle.bottom) / usableHeight);
  unitsPerPixel_ = std::clamp(perPixel > 0 ? perPixel : 1.0, kFinest, kCoarsest);
}

void MapViewport::ZoomAbout(PixelPoint about, double factor) {
  if (!(factor > 0)) return;
  const MapPoint fixed = ToMap(about);
  unitsPerPixel_ = std::clamp(unitsPerPixel_ / factor, kFinest, kCoarsest);
  const MapPoint moved = ToMap(about);
  center_.x += fixed.x - moved.x;
  center_.y += fixed.y - moved.y;
}

void MapViewport::Pan(double dx, double dy) {
  center_.x -= dx * unitsPerPixel_;
  center_.y += dy * unitsPerPixel_;
}

PixelPoint MapViewport::ToPixel(MapPoint point) const {
  return {(point.x - center_.x) / unitsPerPixel_ + width_ / 2.0,
          height_ / 2.0 - (point.y - center_.y) / unitsPerPixel_};
}

MapPoint MapViewport::ToMap(PixelPoint pixel) const {
  return {center_.x + (pixel.x - width_ / 2.0) * unitsPerPixel_,
          center_.y - (pixel.y - height_ / 2.0) * unitsPerPixel_};
}

MapRectangle MapViewport::Visible() const {
  const MapPoint topLeft = ToMap({0, 0});
  const MapPoint bottomRight = ToMap({static_cast<double>(width_), static_cast<double>(height_)});
  return {topLeft.x, bottomRight.y, bottomRight.x, topLeft.y};
}

}  // namespace bosquell
