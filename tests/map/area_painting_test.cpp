// The areas' fills, painted row by row between the outline's crossings, cover exactly the
// pixels whose middles the shapes' own test puts inside.

#include "map/area_painting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace bosquell::testing {
namespace {

TEST(AreaPainting, FillsCoverThePixelsTheShapeTestPutsInside) {
  std::mt19937 engine(11);
  std::uniform_real_distribution<double> along(-900, 900);
  const auto point = [&] { return MapPoint{along(engine), along(engine)}; };
  for (int round = 0; round < 60; ++round) {
    MapViewport viewport;
    viewport.Resize(97, 61);
    viewport.Fit({-1000, -1000, 1000, 1000}, 0);
    viewport.ZoomAbout({48, 30}, 1 + round % 4);
    std::vector<MapShape> shapes;
    const MapPoint a = point();
    const MapPoint b = point();
    shapes.push_back(MapRectangle{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                  std::max(a.y, b.y)});
    shapes.push_back(MapCircle{a, std::abs(b.x) / 2});
    // A star around `a`: corners at growing angles, so that no edges cross.
    MapPolygon star;
    for (int i = 0; i < 7; ++i) {
      const double radius = 60 + std::abs(along(engine)) / 2;
      const double turn = i * 6.283185307179586 / 7;
      star.corners.push_back({a.x + radius * std::cos(turn), a.y + radius * std::sin(turn)});
    }
    shapes.push_back(star);
    shapes.push_back(MapPolygon{{a, {b.x, a.y}, b}});  // an edge along a row of pixels
    for (const MapShape& shape : shapes) {
      MapScene scene;
      scene.width = viewport.Width();
      scene.height = viewport.Height();
      scene.pixels.assign(static_cast<std::size_t>(scene.width) * scene.height, 0xFFFFFF);
      PaintAreaFills({PictureArea{shape, false, {0, 0, 0}, false, {}}}, viewport, scene);
      for (int y = 0; y < scene.height; ++y) {
        for (int x = 0; x < scene.width; ++x) {
          const bool inside = InShape(shape, viewport.ToMap({x + 0.5, y + 0.5}));
          const bool painted =
              scene.pixels[static_cast<std::size_t>(y) * scene.width + x] != 0xFFFFFFu;
          ASSERT_EQ(painted, inside) << round << " " << shape.index() << " at " << x << ", " << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace bosquell::testing
