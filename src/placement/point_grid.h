#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "common/map_point.h"

namespace bosquell {

// How much further than a distance, relative to it, a question about it looks: enough that a
// point the rounded comparison finds closer is never in a cell passed over. Cells are wider than
// the reach by twice this.
inline constexpr double kLookFurther = 1.0 / (1 << 20);

// Square cells over one area of the map, at least `reach` wide, so that the points closer than
// `reach` to a point lie in the 3 x 3 cells around it. Where the area would need more than
// `maxCells` cells, the cells grow instead. Any reach and any area give a finite layout: a reach
// wider than the area gives one cell.
class CellLayout {
 public:
  CellLayout(const MapRectangle& area, double reach, std::size_t maxCells);

  const MapRectangle& Area() const { return area_; }
  std::size_t Count() const { return columns_ * rows_; }
  std::size_t Columns() const { return columns_; }
  std::size_t Rows() const { return rows_; }
  // The square of one cell, by the arithmetic of its corners; the points whose cell it is lie
  // in it or within rounding of it.
  MapRectangle CellArea(std::size_t column, std::size_t row) const;
  // The cell of a point; a point outside the area gets the nearest cell. Monotonic in each
  // coordinate, which is all that a question's range of cells needs.
  std::size_t Column(double x) const { return Clamped((x - area_.left) * cellsPerUnit_, columns_); }
  std::size_t Row(double y) const { return Clamped((y - area_.bottom) * cellsPerUnit_, rows_); }
  std::size_t CellOf(MapPoint point) const { return Row(point.y) * columns_ + Column(point.x); }

  // Calls visit(cell) for every cell that can hold a point closer than `distance` (no more than
  // the reach) to `point`, until visit returns true; returns whether it did.
  template <typename Visit>
  bool AnyCellAround(MapPoint point, double distance, Visit visit) const;

 private:
  // For a positive value the conversion's truncation is its floor.
  static std::size_t Clamped(double at, std::size_t count) {
    if (!(at > 0)) return 0;
    return at < static_cast<double>(count) ? static_cast<std::size_t>(at) : count - 1;
  }

  MapRectangle area_;
  double cell_ = 1;
  double cellsPerUnit_ = 1;
  std::size_t columns_ = 1;
  std::size_t rows_ = 1;
};

// Whether offsets `dx` and `dy` make a length shorter than `distance`: the squared length,
// computed in double precision, is smaller than the squared distance. Where the square of the
// distance would overflow, all three are scaled down by the same power of two first (exact), so
// that a length beyond 1e154 is still compared with it rather than overflowing. The same answer
// on every platform, and never true for a longer offset than one it is false for.
inline bool WithinDistance(double dx, double dy, double distance) {
  const double limit = distance * distance;
  if (limit != std::numeric_limits<double>::infinity()) return dx * dx + dy * dy < limit;
  constexpr double kScale = 0x1p-520;
  const double x = dx * kScale;
  const double y = dy * kScale;
  const double scaled = distance * kScale;
  return x * x + y * y < scaled * scaled;
}

// Whether a point lies closer than `distance` to another: the one comparison of both rules.
inline bool CloserThan(MapPoint a, MapPoint b, double distance) {
  return WithinDistance(a.x - b.x, a.y - b.y, distance);
}

// Points added one at a time and asked about in between: the objects of a run as they are
// drawn. 20 bytes a point and 4 bytes a cell.
class GrowingPointGrid {
 public:
  GrowingPointGrid(const MapRectangle& area, double reach, std::size_t maxCells);
  void Add(MapPoint point);
  bool AnyCloserThan(MapPoint point, double distance) const;
  const CellLayout& Layout() const { return layout_; }
  bool HoldsAnyIn(std::size_t cell) const { return lastInCell_[cell] != 0; }

 private:
  CellLayout layout_;
  std::vector<std::uint32_t> lastInCell_;  // per cell, 1 + its last point's index; 0 for none
  std::vector<MapPoint> points_;
  std::vector<std::uint32_t> previousInCell_;  // per point, as lastInCell_
};

template <typename Visit>
bool CellLayout::AnyCellAround(MapPoint point, double distance, Visit visit) const {
  const double reach = distance + distance * kLookFurther;
  const std::size_t lastRow = Row(point.y + reach);
  const std::size_t firstColumn = Column(point.x - reach);
  const std::size_t lastColumn = Column(point.x + reach);
  for (std::size_t row = Row(point.y - reach); row <= lastRow; ++row) {
    for (std::size_t column = firstColumn; column <= lastColumn; ++column) {
      if (visit(row * columns_ + column)) return true;
    }
  }
  return false;
}

}  // namespace bosquell
