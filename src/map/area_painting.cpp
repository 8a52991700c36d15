#include "map/area_painting.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace bosquell {
namespace {

constexpr Rgb kExclude{198, 40, 40};
constexpr Rgb kSketch{25, 118, 210};
constexpr Rgb kCursor{33, 33, 33};
constexpr Rgb kHandleInside{255, 255, 255};
constexpr int kHatchPeriod = 8;  // pixels between the stripes of an exclude
constexpr int kHatchWidth = 2;
constexpr double kHandleHalf = 3.5;
constexpr double kCursorArm = 9;

std::uint32_t Blend(std::uint32_t pixel, Rgb colour, int weight /* of 256 */) {
  const auto mix = [&](int shift, int channel) {
    const int base = static_cast<int>(pixel >> shift & 0xFF);
    return static_cast<std::uint32_t>(base + (channel - base) * weight / 256) << shift;
  };
  return mix(16, colour.red) | mix(8, colour.green) | mix(0, colour.blue);
}

int ClampedPixel(double value, int limit) {
  if (!(value > 0)) return 0;
  return value < limit ? static_cast<int>(value) : limit;
}

// Where a shape's outline may cross the horizontal line at `y`, in map x: every true crossing
// and perhaps a few more; nothing for a corridor, whose band has no short list of them.
bool RowCrossings(const MapShape& shape, double y, double slack, std::vector<double>& xs) {
  xs.clear();
  if (const auto* rectangle = std::get_if<MapRectangle>(&shape)) {
    if (y >= rectangle->bottom - slack && y <= rectangle->top + slack) {
      xs = {rectangle->left, rectangle->right};
    }
    return true;
  }
  if (const auto* circle = std::get_if<MapCircle>(&shape)) {
    const double dy = y - circle->center.y;
    if (std::abs(dy) <= circle->radius + slack) {
      const double dx = std::sqrt(std::max(0.0, circle->radius * circle->radius - dy * dy));
      xs = {circle->center.x - dx, circle->center.x + dx};
    }
    return true;
  }
  if (const auto* polygon = std::get_if<MapPolygon>(&shape)) {
    const std::vector<MapPoint>& corners = polygon->corners;
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const MapPoint a = corners[i];
      const MapPoint b = corners[(i + 1) % corners.size()];
      if (y < std::min(a.y, b.y) - slack || y > std::max(a.y, b.y) + slack) continue;
      if (a.y == b.y) {
        xs.push_back(a.x);
        xs.push_back(b.x);
        continue;
      }
      const double along = std::clamp((y - a.y) / (b.y - a.y), 0.0, 1.0);
      xs.push_back(a.x + along * (b.x - a.x));
    }
    return true;
  }
  return false;
}

// Every pixel whose middle lies in the shape, as the run's own test of the shape says. Along a
// row the answer changes only where the outline crosses it: the pixels within a pixel of a
// crossing are each tested, and the rest between two crossings take the answer of one of them.
template <typename Paint>
void ForEachPixelIn(const MapShape& shape, const MapViewport& viewport, const MapScene& scene,
                    Paint paint) {
  const MapRectangle extent = Extent(shape);
  const PixelPoint topLeft = viewport.ToPixel({extent.left, extent.top});
  const PixelPoint bottomRight = viewport.ToPixel({extent.right, extent.bottom});
  const int x0 = ClampedPixel(std::floor(topLeft.x), scene.width);
  const int x1 = ClampedPixel(std::ceil(bottomRight.x) + 1, scene.width);
  const int y0 = ClampedPixel(std::floor(topLeft.y), scene.height);
  const int y1 = ClampedPixel(std::ceil(bottomRight.y) + 1, scene.height);
  const auto test = [&](int x, int y) {
    if (InShape(shape, viewport.ToMap({x + 0.5, y + 0.5}))) paint(x, y);
  };
  std::vector<double> crossings;
  std::vector<double> bounds;
  for (int y = y0; y < y1; ++y) {
    const double rowY = viewport.ToMap({0, y + 0.5}).y;
    if (!RowCrossings(shape, rowY, viewport.UnitsPerPixel(), crossings)) {
      for (int x = x0; x < x1; ++x) test(x, y);
      continue;
    }
    // The crossings in pixels, between two that lie beyond the row's ends.
    bounds.assign(1, x0 - 2.0);
    for (const double x : crossings) {
      const double pixel = viewport.ToPixel({x, rowY}).x;
      if (pixel > x0 - 2.0 && pixel < x1 + 2.0) bounds.push_back(pixel);
    }
    bounds.push_back(x1 + 2.0);
    std::sort(bounds.begin(), bounds.end());
    int tested = x0;  // the pixels before it are done
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
      // Pixels whose middle lies within a pixel of the crossing `bounds[i]`.
      const int nearLast = std::min(x1 - 1, static_cast<int>(std::floor(bounds[i] + 0.5)));
      for (int x = std::max(tested, static_cast<int>(std::ceil(bounds[i] - 1.5))); x <= nearLast;
           ++x) {
        test(x, y);
      }
      tested = std::max(tested, nearLast + 1);
      // Then those more than a pixel from both crossings: all in, or all out.
      const int last = std::min(x1 - 1, static_cast<int>(std::ceil(bounds[i + 1] - 1.5)) - 1);
      if (tested > last) continue;
      if (InShape(shape, viewport.ToMap({tested + 0.5, y + 0.5}))) {
        for (int x = tested; x <= last; ++x) paint(x, y);
      }
      tested = last + 1;
    }
  }
}

void FillSquare(PixelPoint at, double half, Rgb colour, MapScene& scene) {
  const int x0 = ClampedPixel(std::floor(at.x - half), scene.width);
  const int x1 = ClampedPixel(std::ceil(at.x + half), scene.width);
  const int y0 = ClampedPixel(std::floor(at.y - half), scene.height);
  const int y1 = ClampedPixel(std::ceil(at.y + half), scene.height);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      scene.pixels[static_cast<std::size_t>(y) * scene.width + x] = colour.Packed();
    }
  }
}

void Polyline(const std::vector<MapPoint>& points, bool closed, Rgb colour, bool dashed,
              const MapViewport& viewport, MapScene& scene) {
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    scene.lines.push_back(
        {viewport.ToPixel(points[i]), viewport.ToPixel(points[i + 1]), colour, dashed});
  }
  if (closed && points.size() > 2) {
    scene.lines.push_back(
        {viewport.ToPixel(points.back()), viewport.ToPixel(points.front()), colour, dashed});
  }
}

void Outline(const MapShape& shape, Rgb colour, const MapViewport& viewport, MapScene& scene) {
  if (const auto* rectangle = std::get_if<MapRectangle>(&shape)) {
    Polyline({{rectangle->left, rectangle->bottom},
              {rectangle->right, rectangle->bottom},
              {rectangle->right, rectangle->top},
              {rectangle->left, rectangle->top}},
             true, colour, false, viewport, scene);
  } else if (const auto* polygon = std::get_if<MapPolygon>(&shape)) {
    Polyline(polygon->corners, true, colour, false, viewport, scene);
  } else if (const auto* circle = std::get_if<MapCircle>(&shape)) {
    scene.circles.push_back(
        {viewport.ToPixel(circle->center), circle->radius / viewport.UnitsPerPixel(), colour});
  } else {
    // A corridor's band shows in its fill; its middle line shows where its points are.
    Polyline(std::get<MapCorridor>(shape).points, false, colour, true, viewport, scene);
  }
}

}  // namespace

void PaintAreaFills(const std::vector<PictureArea>& areas, const MapViewport& viewport,
                    MapScene& scene) {
  for (const PictureArea& area : areas) {
    ForEachPixelIn(area.shape, viewport, scene, [&](int x, int y) {
      std::uint32_t& pixel = scene.pixels[static_cast<std::size_t>(y) * scene.width + x];
      if (!area.exclude) {
        pixel = Blend(pixel, area.colour, 56);
      } else if ((x + y) % kHatchPeriod < kHatchWidth) {
        pixel = Blend(pixel, kExclude, 200);
      } else {
        pixel = Blend(pixel, kExclude, 24);
      }
    });
  }
}

void PaintAreaOutlines(const std::vector<PictureArea>& areas,
                       const std::optional<PictureSketch>& sketch,
                       const std::optional<MapPoint>& cursor, const MapViewport& viewport,
                       MapScene& scene) {
  for (const PictureArea& area : areas) {
    Outline(area.shape, area.exclude ? kExclude : area.colour, viewport, scene);
    if (!area.selected) continue;
    for (const MapPoint& handle : area.handles) {
      const PixelPoint at = viewport.ToPixel(handle);
      FillSquare(at, kHandleHalf, area.exclude ? kExclude : area.colour, scene);
      FillSquare(at, kHandleHalf - 1.5, kHandleInside, scene);
    }
  }
  if (sketch) {
    Polyline(sketch->line, false, kSketch, true, viewport, scene);
    if (sketch->shape) Outline(*sketch->shape, kSketch, viewport, scene);
  }
  if (cursor) {
    const PixelPoint at = viewport.ToPixel(*cursor);
    scene.lines.push_back({{at.x - kCursorArm, at.y}, {at.x + kCursorArm, at.y}, kCursor, false});
    scene.lines.push_back({{at.x, at.y - kCursorArm}, {at.x, at.y + kCursorArm}, kCursor, false});
  }
}

}  // namespace bosquell
