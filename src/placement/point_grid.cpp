#include "placement/point_grid.h"

#include <algorithm>
#include <cmath>

namespace bosquell {
namespace {

// Spans and cells stay far below the largest double, so that no quotient below overflows.
constexpr double kLargestSpan = 0x1p1000;

// The length from `low` to `high`, 0 when there is none and never more than kLargestSpan.
double SpanOf(double low, double high) {
  const double span = high - low;
  return span > 0 ? std::min(span, kLargestSpan) : 0;
}

// Both values are finite, and `cell` at least 1.
std::size_t CellsAlong(double length, double cell) {
  return static_cast<std::size_t>(std::min(std::floor(length / cell), 1e9)) + 1;
}

}  // namespace

CellLayout::CellLayout(const MapRectangle& area, double reach, std::size_t maxCells) : area_(area) {
  const double width = SpanOf(area.left, area.right);
  const double height = SpanOf(area.bottom, area.top);
  // Wider than the reach by more than a question looks further, and never below a map unit.
  double cell = reach * (1 + 2 * kLookFurther);
  cell = cell >= 1 ? std::min(cell, kLargestSpan) : 1;
  while (static_cast<double>(CellsAlong(width, cell)) *
                 static_cast<double>(CellsAlong(height, cell)) >
             static_cast<double>(maxCells) &&
         cell <= std::max(width, height)) {
    cell *= 2;
  }
  columns_ = CellsAlong(width, cell);
  rows_ = CellsAlong(height, cell);
  cell_ = cell;
  cellsPerUnit_ = 1 / cell;
}

MapRectangle CellLayout::CellArea(std::size_t column, std::size_t row) const {
  const double left = area_.left + static_cast<double>(column) * cell_;
  const double bottom = area_.bottom + static_cast<double>(row) * cell_;
  return {left, bottom, left + cell_, bottom + cell_};
}

GrowingPointGrid::GrowingPointGrid(const MapRectangle& area, double reach, std::size_t maxCells)
    : layout_(area, reach, maxCells), lastInCell_(layout_.Count(), 0) {}

void GrowingPointGrid::Add(MapPoint point) {
  std::uint32_t& last = lastInCell_[layout_.CellOf(point)];
  points_.push_back(point);
  previousInCell_.push_back(last);
  last = static_cast<std::uint32_t>(points_.size());
}

bool GrowingPointGrid::AnyCloserThan(MapPoint point, double distance) const {
  return layout_.AnyCellAround(point, distance, [&](std::size_t cell) {
    for (std::uint32_t entry = lastInCell_[cell]; entry != 0; entry = previousInCell_[entry - 1]) {
      if (CloserThan(points_[entry - 1], point, distance)) return true;
    }
    return false;
  });
}

}  // namespace bosquell
