#include "placement/polygon_bands.h"

#include <algorithm>

namespace bosquell {
namespace {

// About one band for every two corners: a band then holds a few edges wherever the outline
// does not run along it.
constexpr std::size_t kMostBands = std::size_t{1} << 14;

}  // namespace

PolygonBands::PolygonBands(const MapPolygon& polygon) {
  const MapRectangle extent = Extent(polygon);
  bottom_ = extent.bottom;
  top_ = extent.top;
  bandCount_ = std::clamp<std::size_t>(polygon.corners.size() / 2, 1, kMostBands);
  const double height = top_ - bottom_;
  bandsPerUnit_ = height > 0 ? static_cast<double>(bandCount_) / height : 0;

  // An edge that runs along a line crosses none, and is left out. Band is in order with y, so an
  // edge goes into every band that a point it can cross falls in.
  const std::vector<MapPoint>& corners = polygon.corners;
  const auto forEachEdge = [&](auto visit) {
    for (std::size_t i = 0, previous = corners.size() - 1; i < corners.size(); previous = i++) {
      const MapPoint a = corners[previous];
      const MapPoint b = corners[i];
      if (a.y == b.y) continue;
      visit(Edge{a, b, std::min(a.x, b.x), std::max(a.x, b.x)}, Band(std::min(a.y, b.y)),
            Band(std::max(a.y, b.y)));
    }
  };
  bandStarts_.assign(bandCount_ + 1, 0);
  forEachEdge([&](const Edge&, std::size_t first, std::size_t last) {
    for (std::size_t band = first; band <= last; ++band) ++bandStarts_[band + 1];
  });
  for (std::size_t band = 0; band < bandCount_; ++band) bandStarts_[band + 1] += bandStarts_[band];
  edges_.resize(bandStarts_.back());
  std::vector<std::uint32_t> next(bandStarts_.begin(), bandStarts_.end() - 1);
  forEachEdge([&](const Edge& edge, std::size_t first, std::size_t last) {
    for (std::size_t band = first; band <= last; ++band) edges_[next[band]++] = edge;
  });
  for (std::size_t band = 0; band < bandCount_; ++band) {
    std::sort(edges_.begin() + bandStarts_[band], edges_.begin() + bandStarts_[band + 1],
              [](const Edge& one, const Edge& other) { return one.right > other.right; });
  }
}

std::size_t PolygonBands::Band(double y) const {
  const double at = (y - bottom_) * bandsPerUnit_;
  if (!(at > 0)) return 0;
  return at < static_cast<double>(bandCount_) ? static_cast<std::size_t>(at) : bandCount_ - 1;
}

bool PolygonBands::Contains(MapPoint point) const {
  // An edge crosses the line through the point only when the point lies within its height.
  if (!(point.y >= bottom_ && point.y < top_)) return false;
  const std::size_t band = Band(point.y);
  bool inside = false;
  // An edge that ends more than the margin left of the point, or starts more than it to the
  // right, crosses the line on that side whatever rounding does to the product.
  const double farLeft = point.x - kEdgeMargin;
  const double farRight = point.x + kEdgeMargin;
  for (std::uint32_t i = bandStarts_[band]; i < bandStarts_[band + 1]; ++i) {
    const Edge& edge = edges_[i];
    if (edge.right < farLeft) break;
    if ((edge.a.y > point.y) == (edge.b.y > point.y)) continue;
    if (edge.left > farRight || CrossesRightOf(edge.a, edge.b, point)) inside = !inside;
  }
  return inside;
}

}  // namespace bosquell
