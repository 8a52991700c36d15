#pragma once

#include <variant>
#include <vector>

#include "common/map_point.h"

namespace bosquell {

// The shapes of a layer's area in map units, and the exact test of each: the one answer every
// faster test must give. Rectangles, circles and corridors hold their edges; a polygon holds a
// point by the even-odd rule, so a point exactly on one of its edges may fall either side.

// How far from every edge of a shape a point must lie for a grid to answer for it without
// asking the shape. Far more than rounding can move an edge in any test below (about 2^-16 map
// units for coordinates of the 32-bit map), and far less than a map unit.
inline constexpr double kEdgeMargin = 0.125;

// Corners in order, the last joined to the first.
struct MapPolygon {
  std::vector<MapPoint> corners;
};

struct MapCircle {
  MapPoint center;
  double radius = 0;
};

// Every point no farther than `halfWidth` from the line through `points`.
struct MapCorridor {
  std::vector<MapPoint> points;
  double halfWidth = 0;
};

using MapShape = std::variant<MapRectangle, MapPolygon, MapCircle, MapCorridor>;

// Whether the edge from `a` to `b` crosses the horizontal line through `point` to its right:
// one end lies above the line and the other on or below it, and the crossing lies right of
// the point, as the sign of a cross product tells.
bool CrossesRightOf(MapPoint a, MapPoint b, MapPoint point);
bool InPolygon(const MapPolygon& polygon, MapPoint point);
bool InCircle(const MapCircle& circle, MapPoint point);
// Whether `point` lies no farther than `halfWidth` from the segment from `a` to `b`.
bool NearSegment(MapPoint a, MapPoint b, double halfWidth, MapPoint point);
// The square of the distance from `point` to the segment from `a` to `b`.
double SquaredDistanceToSegment(MapPoint a, MapPoint b, MapPoint point);
bool InCorridor(const MapCorridor& corridor, MapPoint point);
bool InShape(const MapShape& shape, MapPoint point);

// A rectangle that holds the whole shape.
MapRectangle Extent(const MapShape& shape);

}  // namespace bosquell
