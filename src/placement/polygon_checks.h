#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "common/map_point.h"

namespace bosquell {

// Checks of a polygon given as its corners in order, the last joined back to the first: edge i
// runs from corner i to corner i + 1, the last edge from the last corner to corner 0.
//
// IEEE double arithmetic only (products and differences, no division), so a polygon is accepted
// or refused alike on every platform. The answers are exact whenever the coordinates are whole
// numbers below 2^25 in magnitude, or such numbers times one power of two: every whole user unit
// on a 32-bit map, in user or in map units.

// Whether every corner lies on one line (or on one point): a polygon without area.
bool CornersOnOneLine(std::span<const MapPoint> corners);

// Twice the polygon's signed area: positive when the corners run counter-clockwise. A polygon
// that crosses itself may have parts that cancel out; one that does not has an area of 0 only
// when its corners lie on one line.
double TwiceSignedArea(std::span<const MapPoint> corners);

// Two edges of a polygon that meet where they should not. `first` < `second`.
struct EdgeCrossing {
  std::size_t first = 0;
  std::size_t second = 0;
  bool operator==(const EdgeCrossing&) const = default;
};

// Two edges that cross or touch, or nothing when the polygon is simple. Edges that follow each
// other share their corner and may meet there, but may not fold back along each other. A corner
// given twice in a row counts as the edges around it touching.
//
// The edges are sorted by their left end and each is tested only against the earlier ones whose
// x extent it overlaps: O(n log n) for outlines drawn from a map, O(n^2) at worst, when most
// edges span the same x (many long, stacked edges).
std::optional<EdgeCrossing> FindEdgeCrossing(std::span<const MapPoint> corners);

}  // namespace bosquell
