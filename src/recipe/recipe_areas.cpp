#include "recipe/recipe_areas.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "common/map_point.h"
#include "common/number_text.h"
#include "placement/placement.h"
#include "placement/polygon_checks.h"

namespace bosquell::recipe_fields {
namespace {

constexpr std::array<std::string_view, 4> kShapeNames{"rectangle", "polygon", "circle", "corridor"};

constexpr std::string_view kBeyondMap =
    "reaches beyond the map: in map units (256 to a user unit) it leaves the 32-bit range";

// The list at `field`, each element a point.
std::vector<UserPoint> PointsOf(const Field& field) {
  std::vector<UserPoint> points;
  points.reserve(ListOf(field).size());
  for (std::size_t i = 0; i < ListOf(field).size(); ++i)
    points.push_back(PointOf(Element(field, i)));
  return points;
}

std::string CornerWords(std::size_t index, std::size_t count) {
  return "corner " + std::to_string(index % count + 1);
}

// The main window's rectangle: its boxes refuse a range below 1, and the draw must stay on the
// map, which is the boxes' own check given the numbers as text.
RectangleArea ReadRectangle(const Field& field) {
  RefuseUnknownFields(field, {"center", "range"}, "a rectangle has center and range");
  const Field center = Member(field, "center");
  const Field range = Member(field, "range");
  Require(center, "give center = [x, y]");
  Require(range, "give range = [half-width, half-height]");
  const RectangleArea rectangle{PointOf(center), PointOf(range)};
  if (rectangle.range.x < 1 || rectangle.range.y < 1) {
    Refuse(range, "must be 1 or more in x and in y, as in the main window's Range boxes");
  }
  if (!MakePlacement(NumberText(rectangle.center.x), NumberText(rectangle.center.y),
                     NumberText(rectangle.range.x), NumberText(rectangle.range.y))) {
    Refuse(field, std::string(kBeyondMap));
  }
  return rectangle;
}

PolygonArea ReadPolygon(const Field& field) {
  PolygonArea polygon{PointsOf(field)};
  const std::vector<UserPoint>& corners = polygon.corners;
  const std::size_t n = corners.size();
  if (n < 3) Refuse(field, "must have 3 corners or more, not " + std::to_string(n));
  if (n > kMaxPolygonCorners) {
    Refuse(field, "has " + std::to_string(n) + " corners, more than the " +
                      std::to_string(kMaxPolygonCorners) + " a polygon may have");
  }
  if (corners.back() == corners.front()) {
    Refuse(Element(field, n - 1),
           "repeats the first corner; a polygon closes by itself, leave the last corner out");
  }
  for (std::size_t i = 1; i < n; ++i) {
    if (corners[i] == corners[i - 1]) Refuse(Element(field, i), "repeats the corner before it");
  }

  std::vector<MapPoint> mapCorners;
  mapCorners.reserve(n);
  for (const UserPoint& corner : corners) {
    mapCorners.push_back({corner.x * kMapUnitsPerUserUnit, corner.y * kMapUnitsPerUserUnit});
  }
  if (CornersOnOneLine(mapCorners)) Refuse(field, "has no area: its corners lie on one line");
  if (const std::optional<EdgeCrossing> crossing = FindEdgeCrossing(mapCorners)) {
    Refuse(Element(field, crossing->first),
           "the edge from " + CornerWords(crossing->first, n) + " to " +
               CornerWords(crossing->first + 1, n) + " meets the edge from " +
               CornerWords(crossing->second, n) + " to " + CornerWords(crossing->second + 1, n) +
               "; a polygon may not cross or touch itself");
  }
  // A simple polygon has an area; only a sliver whose products round away could show none.
  if (TwiceSignedArea(mapCorners) == 0) Refuse(field, "has no area");
  return polygon;
}

// Whether everything within `reach` of the point stays on the map.
bool ReachFitsMap(UserPoint point, double reach) {
  return FitsMap(point.x - reach) && FitsMap(point.x + reach) && FitsMap(point.y - reach) &&
         FitsMap(point.y + reach);
}

CircleArea ReadCircle(const Field& field) {
  RefuseUnknownFields(field, {"center", "radius"}, "a circle has center and radius");
  const Field center = Member(field, "center");
  const Field radius = Member(field, "radius");
  Require(center, "give center = [x, y]");
  Require(radius, "give radius = r");
  const CircleArea circle{PointOf(center), NumberOf(radius)};
  if (!(circle.radius > 0)) Refuse(radius, "must be greater than 0");
  if (!ReachFitsMap(circle.center, circle.radius)) Refuse(field, std::string(kBeyondMap));
  return circle;
}

CorridorArea ReadCorridor(const Field& field) {
  RefuseUnknownFields(field, {"points", "width"}, "a corridor has points and width");
  const Field points = Member(field, "points");
  const Field width = Member(field, "width");
  Require(points, "give points = [[x, y], [x, y], ...]");
  Require(width, "give width = w");
  const CorridorArea corridor{PointsOf(points), NumberOf(width)};
  if (corridor.points.size() < 2) {
    Refuse(points, "must have 2 points or more, not " + std::to_string(corridor.points.size()));
  }
  if (!(corridor.width > 0)) Refuse(width, "must be greater than 0");
  for (std::size_t i = 0; i < corridor.points.size(); ++i) {
    if (!ReachFitsMap(corridor.points[i], corridor.width / 2)) {
      Refuse(Element(points, i), std::string(kBeyondMap) + " with half the width around it");
    }
  }
  return corridor;
}

Area ReadArea(const Field& field) {
  RefuseUnknownFields(field, {"rectangle", "polygon", "circle", "corridor", "exclude"},
                      "an area has one shape (rectangle, polygon, circle or corridor) and "
                      "exclude");
  // The shapes in the order of the file: the first is the area's, a second one is refused.
  std::vector<std::pair<Field, std::string_view>> shapes;
  for (const std::string_view name : kShapeNames) {
    if (Field shape = Member(field, name); shape.node != nullptr) shapes.emplace_back(shape, name);
  }
  if (shapes.empty()) {
    Refuse(field, "has no shape; give one of rectangle, polygon, circle or corridor");
  }
  std::sort(shapes.begin(), shapes.end(), [](const auto& a, const auto& b) {
    return StandsBefore(a.first.where, b.first.where);
  });
  if (shapes.size() > 1) {
    Refuse(shapes[1].first, "is a second shape; an area has one, and this one has a " +
                                std::string(shapes[0].second));
  }

  Area area;
  const auto& [shape, name] = shapes.front();
  if (name == "rectangle") {
    area.shape = ReadRectangle(shape);
  } else if (name == "polygon") {
    area.shape = ReadPolygon(shape);
  } else if (name == "circle") {
    area.shape = ReadCircle(shape);
  } else {
    area.shape = ReadCorridor(shape);
  }
  if (const Field exclude = Member(field, "exclude"); exclude.node != nullptr) {
    area.exclude = FlagOf(exclude);
  }
  return area;
}

}  // namespace

std::vector<Area> ReadAreas(const Field& layer) {
  const Field areas = Member(layer, "area");
  Require(areas, "a layer draws inside one or more [[layer.area]] tables");
  std::vector<Area> result;
  bool anyInclude = false;
  for (std::size_t i = 0; i < ListOfTables(areas, "layer.area").size(); ++i) {
    result.push_back(ReadArea(Element(areas, i)));
    anyInclude = anyInclude || !result.back().exclude;
  }
  if (!anyInclude) {
    Refuse(areas, result.empty() ? "is empty; a layer draws inside one or more areas"
                                 : "has only areas with exclude = true; a layer needs at least "
                                   "one area to draw in");
  }
  return result;
}

}  // namespace bosquell::recipe_fields
