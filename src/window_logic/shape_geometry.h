#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/map_point.h"
#include "recipe/recipe.h"

namespace bosquell {

// What the map's editor does with one area's shape, in user units: where its handles are, what
// a click hits, and how a move or a dragged handle changes it. Square roots and products only.

// A map point in user units, rounded to the whole user unit: drawn corners lie on whole units,
// where the polygon checks are exact and the file stays short.
UserPoint SnappedUserPoint(MapPoint point);
MapPoint ToMapPoint(UserPoint point);

double Distance(UserPoint a, UserPoint b);

// The points a user drags: a rectangle's four corners (from the lower left, counter-clockwise),
// a polygon's corners, a circle's center and the point of its rim east of it, a corridor's
// points.
std::vector<UserPoint> HandlesOf(const AreaShape& shape);
// The handle within `tolerance` of `at` nearest to it.
std::optional<std::size_t> HandleAt(const AreaShape& shape, UserPoint at, double tolerance);
// The shape with handle `index` at `to`: a rectangle keeps its opposite corner, a circle's rim
// sets the radius, its center moves it.
AreaShape WithHandleAt(const AreaShape& shape, std::size_t index, UserPoint to);
AreaShape Moved(const AreaShape& shape, double dx, double dy);

// Whether `at` lies in the shape or within `tolerance` of its outline.
bool Hits(const AreaShape& shape, UserPoint at, double tolerance);
// The extent of the shape, corridors with their half width, in user units.
MapRectangle BoundsOf(const AreaShape& shape);

// The rectangle with two opposite corners; nothing when it spans no range of 1 or more.
std::optional<RectangleArea> RectangleBetween(UserPoint a, UserPoint b);

// "rectangle", "polygon", "circle" or "corridor".
std::string ShapeWord(const AreaShape& shape);
// What the shape list shows and a screen reader says for area `index` (from 0):
// "Area 2: polygon of 5 corners, exclude".
std::string AreaName(const Area& area, std::size_t index);

}  // namespace bosquell
