#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/map_point.h"

namespace bosquell {

// The objects a mission holds near one area, gathered once and then asked, for points of that
// area, whether any of them lies closer than a distance.
//
// The points are sorted into cells along a Z curve, 16 to 32 to a cell, and every run of cells
// that halving the curve makes (a binary tree over the cells) keeps the bounds of its points
// and its point nearest the area's center. A question passes over a run whose points all lie
// beyond the distance, and answers at once for one whose points all lie within it or whose
// point nearest the center does. Two things keep the runs it must open few however the points
// lie: a crowded cell is sorted again into cells of its own, and where the distance is long
// next to the area, so that its circles bend alike across a whole run, the distance from the
// center tells the points just beyond it from those just within it, which the bounds cannot.
class SortedPointGrid {
 public:
  // Collects the points, then sorts them. Memory: 16 bytes a point while collecting, 32 while
  // sorting, then 20 to 24 bytes a point.
  class Builder {
   public:
    // Keeps only the points that can lie closer than `distance` to some point of `area`.
    Builder(const MapRectangle& area, double distance);
    void Add(MapPoint point);
    SortedPointGrid Build() &&;

   private:
    MapRectangle area_;
    double distance_;
    MapRectangle bounds_;  // of the points kept
    std::vector<std::unique_ptr<MapPoint[]>> blocks_;
    std::size_t size_ = 0;
  };

  // One of the points that lies closer than `distance` to `point`, as CloserThan compares them,
  // or none: for a point of the area and a distance no longer than the Builder's.
  const MapPoint* CloserPoint(MapPoint point, double distance) const;
  bool AnyCloserThan(MapPoint point, double distance) const {
    return CloserPoint(point, distance) != nullptr;
  }
  std::size_t Size() const { return points_.size(); }

 private:
  // The points of a run of cells.
  struct Run {
    MapRectangle bounds;     // left and bottom +inf, right and top -inf when it has none
    MapPoint nearest;        // its point nearest the center, asked first
    double nearestToCenter;  // no more than that point's distance from the center
  };
  // One grid of cells over some of the points, and the runs over it.
  struct Level {
    MapRectangle bounds;
    int columnBits = 0;
    int rowBits = 0;
    double columnsPerHalfUnit = 0;  // taken of half a coordinate, which cannot overflow
    double rowsPerHalfUnit = 0;
    std::vector<std::uint32_t> cellStarts;  // per cell, its first point; one more at the end
    std::vector<Run> runs;                  // the tree, the root first, then each depth in turn
    std::vector<std::uint32_t> finerLevel;  // per cell, the level sorting it again; 0 for none

    int Bits() const { return columnBits + rowBits; }
    // The column and row of a coordinate: in order with it, the nearest for one outside.
    std::uint32_t Column(double x) const;
    std::uint32_t Row(double y) const;
    std::uint32_t CellAt(std::uint32_t column, std::uint32_t row) const;
  };
  struct Question;
  enum class Verdict { kAllBeyond, kSomeWithin, kMixed };

  explicit SortedPointGrid(MapPoint center) : center_(center) {}
  // The cells for `count` points within `bounds`: 16 to 32 points to a cell, each as near
  // square as halving allows; one cell when the points all lie at one place.
  static Level ShapedLevel(const MapRectangle& bounds, std::size_t count);
  // Sorts the points into the level's cells, to points_[first] on.
  template <typename ForEachPoint>
  void SortIntoCells(Level& level, ForEachPoint forEachPoint, std::uint32_t first);
  // The runs of a sorted level, then a finer level for each crowded cell.
  void FinishLevel(std::size_t level, int depth);
  Verdict Judge(const Run& run, const Question& question) const;
  const MapPoint* CloserInLevel(std::size_t level, const Question& question) const;
  const MapPoint* CloserInCell(const Level& level, std::uint32_t cell,
                               const Question& question) const;

  MapPoint center_;
  std::vector<MapPoint> points_;
  std::vector<Level> levels_;
};

}  // namespace bosquell
