#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "placement/area_shapes.h"

namespace bosquell {

// A polygon's edges sorted into horizontal bands, so that its even-odd test asks only the few
// edges that can cross the line through a point, and of those, the ones far to the left of the
// point not at all and the ones far to its right without a product. Answers exactly as
// InPolygon.
class PolygonBands {
 public:
  explicit PolygonBands(const MapPolygon& polygon);
  bool Contains(MapPoint point) const;

 private:
  struct Edge {
    MapPoint a;
    MapPoint b;
    double left;
    double right;
  };
  // In order with y; a y outside the polygon gets the nearest band.
  std::size_t Band(double y) const;

  double bottom_ = 0;
  double top_ = 0;
  double bandsPerUnit_ = 0;
  std::size_t bandCount_ = 1;
  std::vector<std::uint32_t> bandStarts_;  // per band, its first edge; one more at the end
  std::vector<Edge> edges_;                // per band, those reaching farthest right first
};

}  // namespace bosquell
