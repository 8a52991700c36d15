#include "placement/point_grid.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace bosquell {
namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 14;

std::size_t CellsAlong(double length, double cell) {
  return static_cast<std::size_t>(std::min(std::floor(length / cell), 1e9)) + 1;
}

// For a positive value the conversion's truncation is its floor.
std::size_t ClampedCell(double at, std::size_t count) {
  if (!(at > 0)) return 0;
  return at < static_cast<double>(count) ? static_cast<std::size_t>(at) : count - 1;
}

}  // namespace

CellLayout::CellLayout(const MapRectangle& area, double reach, std::size_t maxCells) : area_(area) {
  const double width = std::max(area.right - area.left, 0.0);
  const double height = std::max(area.top - area.bottom, 0.0);
  // Wider than the reach by more than a question looks further, and never below a map unit.
  double cell = std::max(reach * (1 + 2 * kLookFurther), 1.0);
  while (static_cast<double>(CellsAlong(width, cell)) *
             static_cast<double>(CellsAlong(height, cell)) >
         static_cast<double>(maxCells)) {
    cell *= 2;
  }
  columns_ = CellsAlong(width, cell);
  rows_ = CellsAlong(height, cell);
  cellsPerUnit_ = 1 / cell;
}

std::size_t CellLayout::Column(double x) const {
  return ClampedCell((x - area_.left) * cellsPerUnit_, columns_);
}

std::size_t CellLayout::Row(double y) const {
  return ClampedCell((y - area_.bottom) * cellsPerUnit_, rows_);
}

void SortedPointGrid::Builder::Add(MapPoint point) {
  if (!area_.Contains(point)) return;
  if (size_ == UINT32_MAX) throw std::length_error("too many points for one grid");
  if (size_ % kBlockSize == 0)
    blocks_.push_back(std::make_unique_for_overwrite<MapPoint[]>(kBlockSize));
  blocks_.back()[size_ % kBlockSize] = point;
  ++size_;
}

SortedPointGrid SortedPointGrid::Builder::Build() && {
  const CellLayout layout(area_, reach_, std::clamp<std::size_t>(size_ / 2, 1, maxCells_));
  SortedPointGrid grid(layout);
  // A counting sort: the size of each cell, then each cell's end, then every point put just
  // before its cell's end, which leaves each entry at its cell's start.
  std::vector<std::uint32_t>& starts = grid.cellStarts_;
  starts.assign(layout.Count() + 1, 0);
  const auto forEachPoint = [this](auto visit) {
    for (std::size_t i = 0; i < size_; ++i) visit(blocks_[i / kBlockSize][i % kBlockSize]);
  };
  forEachPoint([&](MapPoint point) { ++starts[layout.CellOf(point)]; });
  std::uint32_t end = 0;
  for (std::uint32_t& start : starts) {
    end += start;
    start = end;
  }
  grid.points_.resize(size_);
  forEachPoint([&](MapPoint point) { grid.points_[--starts[layout.CellOf(point)]] = point; });
  blocks_.clear();
  size_ = 0;
  return grid;
}

bool SortedPointGrid::AnyCloserThan(MapPoint point, double distance) const {
  if (points_.empty()) return false;
  return layout_.AnyCellAround(point, distance, [&](std::size_t cell) {
    const MapPoint* const end = points_.data() + cellStarts_[cell + 1];
    for (const MapPoint* other = points_.data() + cellStarts_[cell]; other != end; ++other) {
      if (CloserThan(*other, point, distance)) return true;
    }
    return false;
  });
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
