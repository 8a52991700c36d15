#include "window_logic/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "common/number_text.h"
#include "placement/placement.h"

namespace bosquell {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

double SegmentDistance(UserPoint p, UserPoint a, UserPoint b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(p, {a.x + t * dx, a.y + t * dy});
}

// Even-odd rule: a ray to the east crosses the outline an odd number of times from inside.
bool InsidePolygon(const std::vector<UserPoint>& corners, UserPoint p) {
  bool inside = false;
  for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
    const UserPoint a = corners[i];
    const UserPoint b = corners[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

double NearestEdge(const std::vector<UserPoint>& points, UserPoint p, bool closed) {
  double nearest = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    nearest = std::min(nearest, SegmentDistance(p, points[i], points[i + 1]));
  }
  if (closed && points.size() > 2) {
    nearest = std::min(nearest, SegmentDistance(p, points.back(), points.front()));
  }
  return nearest;
}

std::vector<UserPoint> RectangleCorners(const RectangleArea& r) {
  return {{r.center.x - r.range.x, r.center.y - r.range.y},
          {r.center.x + r.range.x, r.center.y - r.range.y},
          {r.center.x + r.range.x, r.center.y + r.range.y},
          {r.center.x - r.range.x, r.center.y + r.range.y}};
}

MapRectangle BoundsOfPoints(const std::vector<UserPoint>& points, double reach) {
  MapRectangle bounds{points.front().x, points.front().y, points.front().x, points.front().y};
  for (const UserPoint& p : points) {
    bounds = {std::min(bounds.left, p.x), std::min(bounds.bottom, p.y), std::max(bounds.right, p.x),
              std::max(bounds.top, p.y)};
  }
  return bounds.Grown(reach);
}

}  // namespace

UserPoint SnappedUserPoint(MapPoint point) {
  return {std::round(point.x / kMapUnitsPerUserUnit), std::round(point.y / kMapUnitsPerUserUnit)};
}

MapPoint ToMapPoint(UserPoint point) {
  return {point.x * kMapUnitsPerUserUnit, point.y * kMapUnitsPerUserUnit};
}

double Distance(UserPoint a, UserPoint b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

std::vector<UserPoint> HandlesOf(const AreaShape& shape) {
  return std::visit(
      Overloaded{
          [](const RectangleArea& r) { return RectangleCorners(r); },
          [](const PolygonArea& p) { return p.corners; },
          [](const CircleArea& c) {
            return std::vector<UserPoint>{c.center, {c.center.x + c.radius, c.center.y}};
          },
          [](const CorridorArea& c) { return c.points; },
      },
      shape);
}

std::optional<std::size_t> HandleAt(const AreaShape& shape, UserPoint at, double tolerance) {
  const std::vector<UserPoint> handles = HandlesOf(shape);
  std::optional<std::size_t> nearest;
  for (std::size_t i = 0; i < handles.size(); ++i) {
    const double d = Distance(handles[i], at);
    if (d <= tolerance && (!nearest || d < Distance(handles[*nearest], at))) nearest = i;
  }
  return nearest;
}

AreaShape WithHandleAt(const AreaShape& shape, std::size_t index, UserPoint to) {
  return std::visit(Overloaded{
                        [&](const RectangleArea& r) -> AreaShape {
                          const UserPoint opposite = RectangleCorners(r)[(index + 2) % 4];
                          // A corner dragged onto the opposite edge leaves the shape as it was.
                          return RectangleBetween(opposite, to).value_or(r);
                        },
                        [&](PolygonArea p) -> AreaShape {
                          p.corners[index] = to;
                          return p;
                        },
                        [&](CircleArea c) -> AreaShape {
                          if (index == 0) return CircleArea{to, c.radius};
                          c.radius = std::round(Distance(c.center, to));
                          return c;
                        },
                        [&](CorridorArea c) -> AreaShape {
                          c.points[index] = to;
                          return c;
                        },
                    },
                    shape);
}

AreaShape Moved(const AreaShape& shape, double dx, double dy) {
  const auto move = [&](UserPoint& p) {
    p.x += dx;
    p.y += dy;
  };
  AreaShape moved = shape;
  std::visit(Overloaded{
                 [&](RectangleArea& r) { move(r.center); },
                 [&](PolygonArea& p) { std::for_each(p.corners.begin(), p.corners.end(), move); },
                 [&](CircleArea& c) { move(c.center); },
                 [&](CorridorArea& c) { std::for_each(c.points.begin(), c.points.end(), move); },
             },
             moved);
  return moved;
}

bool Hits(const AreaShape& shape, UserPoint at, double tolerance) {
  return std::visit(
      Overloaded{
          [&](const RectangleArea& r) {
            return std::abs(at.x - r.center.x) <= r.range.x + tolerance &&
                   std::abs(at.y - r.center.y) <= r.range.y + tolerance;
          },
          [&](const PolygonArea& p) {
            return InsidePolygon(p.corners, at) || NearestEdge(p.corners, at, true) <= tolerance;
          },
          [&](const CircleArea& c) { return Distance(c.center, at) <= c.radius + tolerance; },
          [&](const CorridorArea& c) {
            return NearestEdge(c.points, at, false) <= c.width / 2 + tolerance;
          },
      },
      shape);
}

MapRectangle BoundsOf(const AreaShape& shape) {
  return std::visit(
      Overloaded{
          [](const RectangleArea& r) { return BoundsOfPoints(RectangleCorners(r), 0); },
          [](const PolygonArea& p) { return BoundsOfPoints(p.corners, 0); },
          [](const CircleArea& c) { return BoundsOfPoints({c.center}, c.radius); },
          [](const CorridorArea& c) { return BoundsOfPoints(c.points, c.width / 2); },
      },
      shape);
}

std::optional<RectangleArea> RectangleBetween(UserPoint a, UserPoint b) {
  const RectangleArea r{{(a.x + b.x) / 2, (a.y + b.y) / 2},
                        {std::abs(b.x - a.x) / 2, std::abs(b.y - a.y) / 2}};
  if (!(r.range.x >= 1 && r.range.y >= 1)) return std::nullopt;
  return r;
}

std::string ShapeWord(const AreaShape& shape) {
  static constexpr const char* kWords[] = {"rectangle", "polygon", "circle", "corridor"};
  return kWords[shape.index()];
}

std::string AreaName(const Area& area, std::size_t index) {
  const std::string details = std::visit(
      Overloaded{
          [](const RectangleArea& r) {
            return " of " + NumberText(2 * r.range.x) + " by " + NumberText(2 * r.range.y);
          },
          [](const PolygonArea& p) {
            return " of " + std::to_string(p.corners.size()) + " corners";
          },
          [](const CircleArea& c) { return " of radius " + NumberText(c.radius); },
          [](const CorridorArea& c) {
            return " of " + std::to_string(c.points.size()) + " points, " + NumberText(c.width) +
                   " wide";
          },
      },
      area.shape);
  return "Area " + std::to_string(index + 1) + ": " + ShapeWord(area.shape) + details + ", " +
         (area.exclude ? "exclude" : "include");
}

}  // namespace bosquell
