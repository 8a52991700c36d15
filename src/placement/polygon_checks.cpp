#include "placement/polygon_checks.h"

#include <algorithm>
#include <vector>

namespace bosquell {
namespace {

// Twice the signed area of the triangle a, b, c: positive when c lies left of the line from a
// to b, 0 when the three lie on one line.
double Orientation(MapPoint a, MapPoint b, MapPoint c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

int SignOf(double value) {
  return (value > 0) - (value < 0);
}

// For a point on the line through a and b: whether it lies between them, ends included.
bool OnSegment(MapPoint a, MapPoint b, MapPoint point) {
  return std::min(a.x, b.x) <= point.x && point.x <= std::max(a.x, b.x) &&
         std::min(a.y, b.y) <= point.y && point.y <= std::max(a.y, b.y);
}

// Whether the segments a-b and c-d have a point in common.
bool SegmentsMeet(MapPoint a, MapPoint b, MapPoint c, MapPoint d) {
  const int abc = SignOf(Orientation(a, b, c));
  const int abd = SignOf(Orientation(a, b, d));
  const int cda = SignOf(Orientation(c, d, a));
  const int cdb = SignOf(Orientation(c, d, b));
  if (abc * abd < 0 && cda * cdb < 0) return true;
  return (abc == 0 && OnSegment(a, b, c)) || (abd == 0 && OnSegment(a, b, d)) ||
         (cda == 0 && OnSegment(c, d, a)) || (cdb == 0 && OnSegment(c, d, b));
}

// Whether the edges into and out of `here` run back along each other.
bool FoldsBack(MapPoint previous, MapPoint here, MapPoint next) {
  const double along =
      (previous.x - here.x) * (next.x - here.x) + (previous.y - here.y) * (next.y - here.y);
  return Orientation(previous, here, next) == 0 && along > 0;
}

struct EdgeExtent {
  double left = 0;
  double right = 0;
  double bottom = 0;
  double top = 0;
  std::size_t edge = 0;
};

EdgeCrossing Ordered(std::size_t a, std::size_t b) {
  return {std::min(a, b), std::max(a, b)};
}

}  // namespace

bool CornersOnOneLine(std::span<const MapPoint> corners) {
  const auto apart = std::find_if(corners.begin(), corners.end(), [&](const MapPoint& corner) {
    return corner.x != corners.front().x || corner.y != corners.front().y;
  });
  if (apart == corners.end()) return true;
  return std::all_of(corners.begin(), corners.end(), [&](const MapPoint& corner) {
    return Orientation(corners.front(), *apart, corner) == 0;
  });
}

double TwiceSignedArea(std::span<const MapPoint> corners) {
  // Relative to the first corner, so that the products stay as small as the polygon.
  double sum = 0;
  for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
    sum += Orientation(corners[0], corners[i], corners[i + 1]);
  }
  return sum;
}

std::optional<EdgeCrossing> FindEdgeCrossing(std::span<const MapPoint> corners) {
  const std::size_t n = corners.size();
  if (n < 3) return std::nullopt;
  const auto corner = [&](std::size_t i) { return corners[i % n]; };

  // Edges that follow each other meet at their corner by design; elsewhere only by folding back.
  for (std::size_t k = 0; k < n; ++k) {
    if (FoldsBack(corner(k + n - 1), corners[k], corner(k + 1))) return Ordered((k + n - 1) % n, k);
  }
  const auto adjacent = [n](std::size_t a, std::size_t b) {
    const std::size_t gap = a > b ? a - b : b - a;
    return gap == 1 || gap == n - 1;
  };

  std::vector<EdgeExtent> extents(n);
  for (std::size_t i = 0; i < n; ++i) {
    const MapPoint a = corners[i];
    const MapPoint b = corner(i + 1);
    extents[i] = {std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y),
                  i};
  }
  std::sort(extents.begin(), extents.end(), [](const EdgeExtent& a, const EdgeExtent& b) {
    return a.left != b.left ? a.left < b.left : a.edge < b.edge;
  });

  // The edges met so far whose x extent still reaches the sweep; each new edge drops those that
  // end before it starts while it is tested against the rest.
  std::vector<const EdgeExtent*> open;
  for (const EdgeExtent& current : extents) {
    std::size_t kept = 0;
    for (const EdgeExtent* other : open) {
      if (other->right < current.left) continue;
      open[kept++] = other;
      if (other->top < current.bottom || current.top < other->bottom) continue;
      if (adjacent(current.edge, other->edge)) continue;
      if (SegmentsMeet(corners[current.edge], corner(current.edge + 1), corners[other->edge],
                       corner(other->edge + 1))) {
        return Ordered(current.edge, other->edge);
      }
    }
    open.resize(kept);
    open.push_back(&current);
  }
  return std::nullopt;
}

}  // namespace bosquell
