#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/map_point.h"
#include "placement/area_shapes.h"
#include "placement/point_grid.h"
#include "placement/polygon_bands.h"

namespace bosquell {

// Where one layer's objects may lie: inside at least one include shape and outside every
// exclude shape, all in map units.
//
// A grid of square cells over the includes knows, for most cells, that every point of the cell
// is in the area or that none is; a cell near an edge keeps the few shapes, corridor pieces or
// polygons that can decide it, and only those are asked. The grid only makes the test fast:
// every answer is the one the shapes themselves give (InShape), to the last bit.
class LayerArea {
 public:
  // At least one include.
  LayerArea(const std::vector<MapShape>& includes, const std::vector<MapShape>& excludes);

  bool Contains(MapPoint point) const;
  // False only when no point of the rectangle lies in the area.
  bool MayHoldAny(const MapRectangle& rectangle) const;
  // Holds every include.
  const MapRectangle& Bounds() const { return bounds_; }
  // The share of the cells that hold some of the area, 0 to 1.
  double ReachedShare() const;
  // About how many square map units the area covers: its cells inside, and half its cells near
  // an edge.
  double SizeEstimate() const;

 private:
  enum class Kind : std::uint8_t { kRectangle, kPolygon, kCircle, kCorridorPiece };
  // A shape, or one piece of a corridor, that a cell near an edge asks.
  struct Part {
    Kind kind;
    bool exclude;
    std::uint32_t shape;  // index into the list of its kind
    std::uint32_t piece;  // a corridor's piece from point `piece` to the next
  };
  enum class Relation { kApart, kTouches, kCovers };
  class Builder;

  bool InPart(const Part& part, MapPoint point) const;

  MapRectangle bounds_;
  CellLayout layout_;
  std::vector<MapRectangle> rectangles_;
  std::vector<PolygonBands> polygons_;
  std::vector<MapCircle> circles_;
  std::vector<MapCorridor> corridors_;
  std::vector<Part> parts_;  // the excludes first
  std::vector<std::uint8_t> states_;
  std::vector<std::uint32_t> cellStarts_;  // per cell, its first entry; one more at the end
  std::vector<std::uint32_t> entries_;     // parts to ask, by index: excludes first
  std::size_t reachedCells_ = 0;
  double size_ = 0;
};

}  // namespace bosquell
