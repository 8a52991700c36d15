#include "random_layers.h"

#include <algorithm>
#include <cmath>

namespace bosquell::testing {

PolygonArea RandomLayers::StarPolygon(UserPoint center, double radius, int corners) {
  std::vector<double> angles;
  for (int i = 0; i < corners; ++i) angles.push_back(Uniform(0, 6.283185307179586));
  std::sort(angles.begin(), angles.end());
  PolygonArea polygon;
  for (const double angle : angles) {
    const double distance = Uniform(0.3, 1.0) * radius;
    polygon.corners.push_back(
        {Snap(center.x + distance * std::cos(angle)), Snap(center.y + distance * std::sin(angle))});
  }
  return polygon;
}

CorridorArea RandomLayers::Road(UserPoint start, int points, double step, double width) {
  CorridorArea road{{start}, width};
  double heading = Uniform(0, 6.283185307179586);
  for (int i = 1; i < points; ++i) {
    heading += Uniform(-0.6, 0.6);
    const UserPoint last = road.points.back();
    road.points.push_back(
        {Snap(last.x + step * std::cos(heading)), Snap(last.y + step * std::sin(heading))});
  }
  return road;
}

AreaShape RandomLayers::AnyShape(UserPoint center, double reach) {
  const UserPoint at{Coordinate(center.x - reach, center.x + reach),
                     Coordinate(center.y - reach, center.y + reach)};
  switch (Whole(0, 3)) {
    case 0:
      return RectangleArea{at, {Coordinate(0.05 * reach, reach), std::round(Uniform(0, reach))}};
    case 1:
      return StarPolygon(at, Uniform(0.05 * reach, reach), Whole(3, 40));
    case 2:
      return CircleArea{at, std::max(Coordinate(0.02 * reach, reach / 2), 1.0 / 256)};
    default:
      return Road(at, Whole(2, 12), Uniform(0.01 * reach, reach / 4),
                  std::max(Coordinate(0.005 * reach, reach / 8), 1.0 / 256));
  }
}

std::vector<Area> RandomLayers::AnyAreas(double reach) {
  std::vector<Area> areas;
  const int includes = Whole(1, 3);
  const int excludes = Whole(0, 3);
  for (int i = 0; i < includes + excludes; ++i) {
    areas.push_back({AnyShape({0, 0}, reach), i >= includes});
  }
  return areas;
}

}  // namespace bosquell::testing
