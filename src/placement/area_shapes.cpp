#include "placement/area_shapes.h"

#include <algorithm>

namespace bosquell {

bool CrossesRightOf(MapPoint a, MapPoint b, MapPoint point) {
  if ((a.y > point.y) == (b.y > point.y)) return false;
  const double turn = (b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x);
  return b.y > a.y ? turn > 0 : turn < 0;
}

bool InPolygon(const MapPolygon& polygon, MapPoint point) {
  const std::vector<MapPoint>& corners = polygon.corners;
  bool inside = false;
  for (std::size_t i = 0, previous = corners.size() - 1; i < corners.size(); previous = i++) {
    if (CrossesRightOf(corners[previous], corners[i], point)) inside = !inside;
  }
  return inside;
}

bool InCircle(const MapCircle& circle, MapPoint point) {
  const double dx = point.x - circle.center.x;
  const double dy = point.y - circle.center.y;
  return dx * dx + dy * dy <= circle.radius * circle.radius;
}

bool NearSegment(MapPoint a, MapPoint b, double halfWidth, MapPoint point) {
  const double limit = halfWidth * halfWidth;
  const double alongX = b.x - a.x;
  const double alongY = b.y - a.y;
  const double fromAX = point.x - a.x;
  const double fromAY = point.y - a.y;
  const double ahead = fromAX * alongX + fromAY * alongY;
  if (ahead <= 0) return fromAX * fromAX + fromAY * fromAY <= limit;
  const double length = alongX * alongX + alongY * alongY;
  if (ahead >= length) {
    const double fromBX = point.x - b.x;
    const double fromBY = point.y - b.y;
    return fromBX * fromBX + fromBY * fromBY <= limit;
  }
  // Beside the segment: the cross product is the distance times the length, compared without a
  // division.
  const double across = alongX * fromAY - alongY * fromAX;
  return across * across <= limit * length;
}

double SquaredDistanceToSegment(MapPoint a, MapPoint b, MapPoint point) {
  const double alongX = b.x - a.x;
  const double alongY = b.y - a.y;
  const double fromAX = point.x - a.x;
  const double fromAY = point.y - a.y;
  const double ahead = fromAX * alongX + fromAY * alongY;
  const double length = alongX * alongX + alongY * alongY;
  if (ahead <= 0) return fromAX * fromAX + fromAY * fromAY;
  if (ahead >= length) {
    const double fromBX = point.x - b.x;
    const double fromBY = point.y - b.y;
    return fromBX * fromBX + fromBY * fromBY;
  }
  const double across = alongX * fromAY - alongY * fromAX;
  return across * across / length;
}

bool InCorridor(const MapCorridor& corridor, MapPoint point) {
  const std::vector<MapPoint>& points = corridor.points;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (NearSegment(points[i - 1], points[i], corridor.halfWidth, point)) return true;
  }
  return false;
}

bool InShape(const MapShape& shape, MapPoint point) {
  struct Visit {
    MapPoint point;
    bool operator()(const MapRectangle& rectangle) const { return rectangle.Contains(point); }
    bool operator()(const MapPolygon& polygon) const { return InPolygon(polygon, point); }
    bool operator()(const MapCircle& circle) const { return InCircle(circle, point); }
    bool operator()(const MapCorridor& corridor) const { return InCorridor(corridor, point); }
  };
  return std::visit(Visit{point}, shape);
}

namespace {

MapRectangle ExtentOf(const std::vector<MapPoint>& points) {
  MapRectangle extent{points.front().x, points.front().y, points.front().x, points.front().y};
  for (const MapPoint& point : points) {
    extent.left = std::min(extent.left, point.x);
    extent.right = std::max(extent.right, point.x);
    extent.bottom = std::min(extent.bottom, point.y);
    extent.top = std::max(extent.top, point.y);
  }
  return extent;
}

}  // namespace

MapRectangle Extent(const MapShape& shape) {
  struct Visit {
    MapRectangle operator()(const MapRectangle& rectangle) const { return rectangle; }
    MapRectangle operator()(const MapPolygon& polygon) const { return ExtentOf(polygon.corners); }
    MapRectangle operator()(const MapCircle& circle) const {
      return MapRectangle{circle.center.x, circle.center.y, circle.center.x, circle.center.y}.Grown(
          circle.radius);
    }
    MapRectangle operator()(const MapCorridor& corridor) const {
      return ExtentOf(corridor.points).Grown(corridor.halfWidth);
    }
  };
  return std::visit(Visit{}, shape);
}

}  // namespace bosquell
