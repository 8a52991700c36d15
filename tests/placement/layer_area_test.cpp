// The layer's area: the grid must answer for every point exactly as the shapes themselves do.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "placement/compiled_layer.h"
#include "placement/layer_area.h"
#include "placement/polygon_bands.h"
#include "random_layers.h"

namespace bosquell {
namespace {

struct Shapes {
  std::vector<MapShape> includes;
  std::vector<MapShape> excludes;
};

Shapes InMapUnits(const std::vector<Area>& areas) {
  Shapes shapes;
  for (const Area& area : areas) {
    (area.exclude ? shapes.excludes : shapes.includes)
        .push_back(ShapeInMapUnits(area.shape, area.exclude).value());
  }
  return shapes;
}

bool InByHand(const Shapes& shapes, MapPoint point) {
  bool in = false;
  for (const MapShape& shape : shapes.includes) in = in || InShape(shape, point);
  for (const MapShape& shape : shapes.excludes) in = in && !InShape(shape, point);
  return in;
}

// The points where a wrong answer is likeliest: along every edge of an outline and at the
// corners, on the edge and up to two map units to either side, whole and with fractions.
std::vector<MapPoint> PointsNearEdges(const Shapes& shapes, testing::RandomLayers& random) {
  std::vector<MapPoint> points;
  const auto alongEdge = [&](MapPoint a, MapPoint b, double away) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) return;
    const int count = static_cast<int>(std::clamp(length / 64, 2.0, 48.0));
    for (int i = 0; i < count; ++i) {
      const double along = i == 0 ? 0 : random.Uniform(0, 1);
      const double side = away + random.Uniform(-2, 2);
      const MapPoint at{a.x + along * (b.x - a.x) - side * (b.y - a.y) / length,
                        a.y + along * (b.y - a.y) + side * (b.x - a.x) / length};
      points.push_back(at);
      points.push_back({std::round(at.x), std::round(at.y)});
    }
  };
  for (const auto* list : {&shapes.includes, &shapes.excludes}) {
    for (const MapShape& shape : *list) {
      if (const auto* polygon = std::get_if<MapPolygon>(&shape)) {
        const std::vector<MapPoint>& corners = polygon->corners;
        for (std::size_t i = 0; i < corners.size(); ++i) {
          alongEdge(corners[i], corners[(i + 1) % corners.size()], 0);
        }
      } else if (const auto* corridor = std::get_if<MapCorridor>(&shape)) {
        for (std::size_t i = 1; i < corridor->points.size(); ++i) {
          for (const double side : {-corridor->halfWidth, corridor->halfWidth}) {
            alongEdge(corridor->points[i - 1], corridor->points[i], side);
          }
        }
      } else if (const auto* circle = std::get_if<MapCircle>(&shape)) {
        const MapPoint c = circle->center;
        for (double angle = 0; angle < 6.3; angle += std::max(0.05, 64 / circle->radius)) {
          const MapPoint rim{c.x + circle->radius * std::cos(angle),
                             c.y + circle->radius * std::sin(angle)};
          alongEdge(rim, {rim.x - std::sin(angle), rim.y + std::cos(angle)}, 0);
        }
      } else {
        const auto& r = std::get<MapRectangle>(shape);
        alongEdge({r.left, r.bottom}, {r.right, r.bottom}, 0);
        alongEdge({r.right, r.top}, {r.left, r.top}, 0);
        alongEdge({r.left, r.top}, {r.left, r.bottom}, 0);
      }
    }
  }
  return points;
}

TEST(LayerArea, AnswersExactlyAsTheShapesDo) {
  int insideSeen = 0;
  int outsideSeen = 0;
  for (unsigned seed = 0; seed < 80; ++seed) {
    SCOPED_TRACE(seed);
    testing::RandomLayers random(seed, seed % 3 == 2);
    // Small layers have cells of a map unit or two, whose edges often fall near a shape's.
    std::vector<Area> areas = random.AnyAreas(seed % 2 == 0 ? 300 : 0.5 + seed % 3);
    if (seed % 16 == 0) {
      areas.push_back({random.StarPolygon({10, -20}, 400, 1000), false});
      areas.push_back({random.Road({-300, 0}, 100, 8, 6), true});
    }
    const Shapes shapes = InMapUnits(areas);
    const LayerArea area(shapes.includes, shapes.excludes);
    const MapRectangle bounds = area.Bounds().Grown(512);

    std::vector<MapPoint> points = PointsNearEdges(shapes, random);
    for (int i = 0; i < 6000; ++i) {
      MapPoint at{random.Uniform(bounds.left, bounds.right),
                  random.Uniform(bounds.bottom, bounds.top)};
      if (i % 2 == 0) at = {std::round(at.x), std::round(at.y)};
      points.push_back(at);
    }
    for (const MapPoint& at : points) {
      const bool expected = InByHand(shapes, at);
      ASSERT_EQ(area.Contains(at), expected) << at.x << ' ' << at.y;
      (expected ? insideSeen : outsideSeen) += 1;
    }
    for (const MapShape& shape : shapes.includes) {
      if (const auto* polygon = std::get_if<MapPolygon>(&shape)) {
        const PolygonBands bands(*polygon);
        for (const MapPoint& at : points) ASSERT_EQ(bands.Contains(at), InPolygon(*polygon, at));
      }
    }
    // A rectangle said to hold none of the area holds none of it.
    for (int i = 0; i < 300; ++i) {
      const MapPoint corner{std::round(random.Uniform(bounds.left, bounds.right)),
                            std::round(random.Uniform(bounds.bottom, bounds.top))};
      if (area.MayHoldAny({corner.x, corner.y, corner.x + 3, corner.y + 3})) continue;
      for (int dx = 0; dx <= 3; ++dx) {
        for (int dy = 0; dy <= 3; ++dy) ASSERT_FALSE(area.Contains({corner.x + dx, corner.y + dy}));
      }
    }
  }
  EXPECT_GT(insideSeen, 50000);
  EXPECT_GT(outsideSeen, 50000);
}

}  // namespace
}  // namespace bosquell
