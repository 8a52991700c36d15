#include "placement/sorted_point_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

#include "placement/point_grid.h"

namespace bosquell {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::size_t kBlockSize = std::size_t{1} << 14;
// A grid has 2^bits cells for 16 to 32 points each, and at most 2^24 of them.
constexpr std::size_t kPointsPerCell = 16;
constexpr int kMaxCellBits = 24;
// A cell of more points than this, not all at one place, is sorted into cells of its own, down
// to this many grids in all.
constexpr std::size_t kCrowdedCell = 128;
constexpr int kMaxLevels = 4;
// A question whose distance reaches no more cells than this asks them one by one.
constexpr std::uint32_t kCellsAskedDirectly = 16;
// Far more, relative to the lengths involved, than the rounding of the bound from the center
// and of CloserThan together.
constexpr double kRoundingAllowance = 0x1p-40;

// How far a coordinate lies outside [low, high]: 0 within; for empty bounds (low +inf, high
// -inf), +inf. Without branches, which the arrangement of the points would make unforeseeable.
double GapAlong(double at, double low, double high) {
  return std::max(std::max(low - at, at - high), 0.0);
}

double Dot(MapPoint a, MapPoint b) {
  return a.x * b.x + a.y * b.y;
}

// Positive when `b` turns counterclockwise from `a`.
double Cross(MapPoint a, MapPoint b) {
  return a.x * b.y - a.y * b.x;
}

double PowerOfTwo(int bits) {
  return static_cast<double>(std::uint32_t{1} << bits);
}

// For a positive value the conversion's truncation is its floor.
std::uint32_t ClampedCell(double at, int bits) {
  const std::uint32_t count = std::uint32_t{1} << bits;
  if (!(at > 0)) return 0;
  return at < static_cast<double>(count) ? static_cast<std::uint32_t>(at) : count - 1;
}

// The 8 bits of a byte moved to the even bit positions of 16.
constexpr std::array<std::uint16_t, 256> kSpreadBytes = [] {
  std::array<std::uint16_t, 256> spread{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    for (int bit = 0; bit < 8; ++bit) spread[byte] |= ((byte >> bit) & 1) << (2 * bit);
  }
  return spread;
}();

// The low 16 bits of `v` moved to the even bit positions.
std::uint32_t Spread(std::uint32_t v) {
  return kSpreadBytes[v & 0xFF] | std::uint32_t{kSpreadBytes[(v >> 8) & 0xFF]} << 16;
}

// The cell's place along the Z curve: the bits of column and row taken in turn from the low
// end; the longer side's extra bits on top.
std::uint32_t ZOrder(std::uint32_t column, std::uint32_t row, int columnBits, int rowBits) {
  const int common = std::min(columnBits, rowBits);
  const std::uint32_t low = (std::uint32_t{1} << common) - 1;
  const std::uint32_t high = columnBits > rowBits ? column >> common : row >> common;
  return high << (2 * common) | Spread(column & low) | Spread(row & low) << 1;
}

constexpr MapRectangle kNoBounds{kInfinity, kInfinity, -kInfinity, -kInfinity};

void Include(MapRectangle& bounds, MapPoint point) {
  bounds.left = std::min(bounds.left, point.x);
  bounds.right = std::max(bounds.right, point.x);
  bounds.bottom = std::min(bounds.bottom, point.y);
  bounds.top = std::max(bounds.top, point.y);
}

// The most that offset . u can be, for u the direction from `center` to a point of `bounds`:
// at most |offset|, less when the bounds are seen from the center within a narrow angle that
// `offset` points away from.
double FarthestReach(const MapRectangle& bounds, MapPoint center, MapPoint offset,
                     double offsetLength) {
  if (bounds.Contains(center)) return offsetLength;
  const std::array<MapPoint, 4> corners{{{bounds.left, bounds.bottom},
                                         {bounds.right, bounds.bottom},
                                         {bounds.right, bounds.top},
                                         {bounds.left, bounds.top}}};
  std::array<MapPoint, 4> directions;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const MapPoint away{corners[i].x - center.x, corners[i].y - center.y};
    const double squared = Dot(away, away);
    if (!(squared > 0 && squared < kInfinity)) return offsetLength;
    const double length = std::sqrt(squared);
    directions[i] = {away.x / length, away.y / length};
  }
  // The bounds lie to one side of the center, so their corners' directions span less than a
  // half turn, and the outermost two enclose all of them.
  MapPoint clockwise = directions[0];
  MapPoint counterclockwise = directions[0];
  for (const MapPoint& direction : directions) {
    if (Cross(clockwise, direction) < 0) clockwise = direction;
    if (Cross(counterclockwise, direction) > 0) counterclockwise = direction;
  }
  if (!(Cross(clockwise, counterclockwise) > 0)) return offsetLength;
  if (Cross(clockwise, offset) >= 0 && Cross(offset, counterclockwise) >= 0) return offsetLength;
  // Across the span, offset . u rises towards the offset's own direction, which lies outside:
  // its largest value is at one end.
  return std::max(Dot(clockwise, offset), Dot(counterclockwise, offset));
}

}  // namespace

struct SortedPointGrid::Question {
  MapPoint point;
  double distance;
  MapPoint offset;  // from the center to the point
  double offsetLength;
};

std::uint32_t SortedPointGrid::Level::Column(double x) const {
  return ClampedCell((x * 0.5 - bounds.left * 0.5) * columnsPerHalfUnit, columnBits);
}

std::uint32_t SortedPointGrid::Level::Row(double y) const {
  return ClampedCell((y * 0.5 - bounds.bottom * 0.5) * rowsPerHalfUnit, rowBits);
}

std::uint32_t SortedPointGrid::Level::CellAt(std::uint32_t column, std::uint32_t row) const {
  return ZOrder(column, row, columnBits, rowBits);
}

SortedPointGrid::Builder::Builder(const MapRectangle& area, double distance)
    : area_(area), distance_(distance), bounds_(kNoBounds) {}

void SortedPointGrid::Builder::Add(MapPoint point) {
  // Rounding makes the gap to the area no longer than the offset to any point of it, so that a
  // point passed over here is closer to none of them. A gap of NaN is within no distance.
  if (!area_.Contains(point) &&
      !WithinDistance(GapAlong(point.x, area_.left, area_.right),
                      GapAlong(point.y, area_.bottom, area_.top), distance_)) {
    return;
  }
  if (size_ == UINT32_MAX) throw std::length_error("too many points for one grid");
  if (size_ % kBlockSize == 0)
    blocks_.push_back(std::make_unique_for_overwrite<MapPoint[]>(kBlockSize));
  blocks_.back()[size_ % kBlockSize] = point;
  Include(bounds_, point);
  ++size_;
}

SortedPointGrid SortedPointGrid::Builder::Build() && {
  SortedPointGrid grid(
      {area_.left * 0.5 + area_.right * 0.5, area_.bottom * 0.5 + area_.top * 0.5});
  if (size_ == 0) return grid;
  grid.points_.resize(size_);
  grid.levels_.push_back(ShapedLevel(bounds_, size_));
  grid.SortIntoCells(
      grid.levels_.back(),
      [this](auto visit) {
        for (std::size_t i = 0; i < size_; ++i) visit(blocks_[i / kBlockSize][i % kBlockSize]);
      },
      0);
  blocks_.clear();
  size_ = 0;
  grid.FinishLevel(0, 1);
  return grid;
}

SortedPointGrid::Level SortedPointGrid::ShapedLevel(const MapRectangle& bounds, std::size_t count) {
  Level level;
  level.bounds = bounds;
  const double halfWidth = bounds.right * 0.5 - bounds.left * 0.5;
  const double halfHeight = bounds.top * 0.5 - bounds.bottom * 0.5;
  int bits = 0;
  if (halfWidth > 0 || halfHeight > 0) {
    while (bits < kMaxCellBits && (kPointsPerCell << (bits + 1)) <= count) ++bits;
  }
  for (int i = 0; i < bits; ++i) {
    if (halfWidth / PowerOfTwo(level.columnBits) >= halfHeight / PowerOfTwo(level.rowBits)) {
      ++level.columnBits;
    } else {
      ++level.rowBits;
    }
  }
  level.columnsPerHalfUnit = halfWidth > 0 ? PowerOfTwo(level.columnBits) / halfWidth : 0;
  level.rowsPerHalfUnit = halfHeight > 0 ? PowerOfTwo(level.rowBits) / halfHeight : 0;
  return level;
}

// A counting sort: the size of each cell, then each cell's end, then every point put just
// before its cell's end, which leaves each entry at its cell's start. The points go to
// points_[first] on. Each point's cell is worked out again in the second pass rather than kept:
// 4 bytes a point at the moment a run needs most memory.
template <typename ForEachPoint>
void SortedPointGrid::SortIntoCells(Level& level, ForEachPoint forEachPoint, std::uint32_t first) {
  std::vector<std::uint32_t>& starts = level.cellStarts;
  starts.assign((std::size_t{1} << level.Bits()) + 1, 0);
  const auto cellOf = [&level](MapPoint point) {
    return level.CellAt(level.Column(point.x), level.Row(point.y));
  };
  forEachPoint([&](MapPoint point) { ++starts[cellOf(point)]; });
  std::uint32_t end = first;
  for (std::uint32_t& start : starts) {
    end += start;
    start = end;
  }
  forEachPoint([&](MapPoint point) { points_[--starts[cellOf(point)]] = point; });
}

void SortedPointGrid::FinishLevel(std::size_t levelIndex, int depth) {
  {
    Level& level = levels_[levelIndex];
    const std::size_t cells = std::size_t{1} << level.Bits();
    level.runs.assign(2 * cells - 1, Run{kNoBounds, {}, kInfinity});
    // A cell's run from its points. Squared distances from the center find the nearest; past
    // the range of a square, the larger offset bounds the distance instead.
    for (std::size_t cell = 0; cell < cells; ++cell) {
      Run& run = level.runs[cells - 1 + cell];
      double nearestSquared = kInfinity;
      double farOffset = kInfinity;
      MapPoint farPoint{};
      for (std::uint32_t i = level.cellStarts[cell]; i < level.cellStarts[cell + 1]; ++i) {
        const MapPoint point = points_[i];
        Include(run.bounds, point);
        const double dx = point.x - center_.x;
        const double dy = point.y - center_.y;
        const double squared = dx * dx + dy * dy;
        if (squared < nearestSquared) {
          nearestSquared = squared;
          run.nearest = point;
        } else if (!(squared < kInfinity) && std::max(std::abs(dx), std::abs(dy)) < farOffset) {
          farOffset = std::max(std::abs(dx), std::abs(dy));
          farPoint = point;
        }
      }
      if (nearestSquared < kInfinity) {
        run.nearestToCenter = std::sqrt(nearestSquared);
      } else if (farOffset < kInfinity) {
        run.nearest = farPoint;
        run.nearestToCenter = farOffset;
      }
    }
    for (std::size_t i = cells - 1; i-- > 0;) {
      const Run& a = level.runs[2 * i + 1];
      const Run& b = level.runs[2 * i + 2];
      Run& run = level.runs[i];
      run.bounds = {std::min(a.bounds.left, b.bounds.left),
                    std::min(a.bounds.bottom, b.bounds.bottom),
                    std::max(a.bounds.right, b.bounds.right), std::max(a.bounds.top, b.bounds.top)};
      run.nearest = b.nearestToCenter < a.nearestToCenter ? b.nearest : a.nearest;
      run.nearestToCenter = std::min(a.nearestToCenter, b.nearestToCenter);
    }
  }
  if (depth == kMaxLevels) return;
  std::vector<MapPoint> crowded;
  const std::size_t cells = std::size_t{1} << levels_[levelIndex].Bits();
  for (std::size_t cell = 0; cell < cells; ++cell) {
    const std::uint32_t begin = levels_[levelIndex].cellStarts[cell];
    const std::uint32_t end = levels_[levelIndex].cellStarts[cell + 1];
    const MapRectangle bounds = levels_[levelIndex].runs[cells - 1 + cell].bounds;
    if (end - begin <= kCrowdedCell ||
        (bounds.left == bounds.right && bounds.bottom == bounds.top)) {
      continue;
    }
    crowded.assign(points_.begin() + begin, points_.begin() + end);
    levels_.push_back(ShapedLevel(bounds, crowded.size()));
    SortIntoCells(
        levels_.back(),
        [&crowded](auto visit) {
          for (const MapPoint& point : crowded) visit(point);
        },
        begin);
    const auto finer = static_cast<std::uint32_t>(levels_.size() - 1);
    std::vector<std::uint32_t>& finerLevel = levels_[levelIndex].finerLevel;
    if (finerLevel.empty()) finerLevel.assign(cells, 0);
    finerLevel[cell] = finer;
    FinishLevel(finer, depth + 1);
  }
}

SortedPointGrid::Verdict SortedPointGrid::Judge(const Run& run, const Question& question) const {
  // Rounding keeps each comparison on the safe side: no point of the bounds is farther along
  // an axis than their far edge, nor nearer than their near edge.
  const MapRectangle& bounds = run.bounds;
  const MapPoint at = question.point;
  if (!WithinDistance(GapAlong(at.x, bounds.left, bounds.right),
                      GapAlong(at.y, bounds.bottom, bounds.top), question.distance)) {
    return Verdict::kAllBeyond;
  }
  // Either way the nearest point is one within the distance.
  if (CloserThan(run.nearest, at, question.distance) ||
      WithinDistance(std::max(at.x - bounds.left, bounds.right - at.x),
                     std::max(at.y - bounds.bottom, bounds.top - at.y), question.distance)) {
    return Verdict::kSomeWithin;
  }
  // A point p at r from the center c, in direction u, lies at least r - (at - c) . u from `at`.
  const double beyond = question.distance + (question.distance * kRoundingAllowance +
                                             run.nearestToCenter * kRoundingAllowance +
                                             question.offsetLength * kRoundingAllowance);
  const double nearest = run.nearestToCenter;
  if (nearest - question.offsetLength > beyond) return Verdict::kAllBeyond;
  // The directions help only a run far out next to the point: there the circle about the point
  // and the circle about the center bend alike.
  if (nearest > 4 * question.offsetLength && nearest + question.offsetLength > beyond &&
      nearest - FarthestReach(bounds, center_, question.offset, question.offsetLength) > beyond) {
    return Verdict::kAllBeyond;
  }
  return Verdict::kMixed;
}

const MapPoint* SortedPointGrid::CloserInCell(const Level& level, std::uint32_t cell,
                                              const Question& question) const {
  const Run& run = level.runs[(std::size_t{1} << level.Bits()) - 1 + cell];
  const Verdict verdict = Judge(run, question);
  if (verdict != Verdict::kMixed) return verdict == Verdict::kSomeWithin ? &run.nearest : nullptr;
  if (!level.finerLevel.empty() && level.finerLevel[cell] != 0) {
    return CloserInLevel(level.finerLevel[cell], question);
  }
  const MapPoint* const end = points_.data() + level.cellStarts[cell + 1];
  for (const MapPoint* other = points_.data() + level.cellStarts[cell]; other != end; ++other) {
    if (CloserThan(*other, question.point, question.distance)) return other;
  }
  return nullptr;
}

const MapPoint* SortedPointGrid::CloserInLevel(std::size_t levelIndex,
                                               const Question& question) const {
  const Level& level = levels_[levelIndex];
  // A short distance reaches a few cells: those are asked directly. The cells of the points
  // within a distance of `at` lie between the cells of at - reach and at + reach, as a cell
  // follows its coordinates in order and the reach covers the rounding of CloserThan.
  const double reach = question.distance + question.distance * kLookFurther;
  const MapPoint at = question.point;
  const std::uint32_t firstColumn = level.Column(at.x - reach);
  const std::uint32_t lastColumn = level.Column(at.x + reach);
  const std::uint32_t firstRow = level.Row(at.y - reach);
  const std::uint32_t lastRow = level.Row(at.y + reach);
  if (std::uint64_t{lastColumn - firstColumn + 1} * (lastRow - firstRow + 1) <=
      kCellsAskedDirectly) {
    for (std::uint32_t row = firstRow; row <= lastRow; ++row) {
      for (std::uint32_t column = firstColumn; column <= lastColumn; ++column) {
        const MapPoint* closer = CloserInCell(level, level.CellAt(column, row), question);
        if (closer != nullptr) return closer;
      }
    }
    return nullptr;
  }
  // Otherwise the tree is followed from its root, depth first and the nearer half first: each
  // step down leaves one run waiting.
  const std::uint32_t firstCell = (std::uint32_t{1} << level.Bits()) - 1;
  const auto gapSquared = [&](std::uint32_t run) {
    const MapRectangle& bounds = level.runs[run].bounds;
    const double x = GapAlong(at.x, bounds.left, bounds.right);
    const double y = GapAlong(at.y, bounds.bottom, bounds.top);
    return x * x + y * y;
  };
  std::array<std::uint32_t, kMaxCellBits + 1> waiting;
  std::size_t count = 0;
  waiting[count++] = 0;
  while (count > 0) {
    const std::uint32_t run = waiting[--count];
    if (run >= firstCell) {
      const MapPoint* closer = CloserInCell(level, run - firstCell, question);
      if (closer != nullptr) return closer;
      continue;
    }
    const Verdict verdict = Judge(level.runs[run], question);
    if (verdict == Verdict::kSomeWithin) return &level.runs[run].nearest;
    if (verdict == Verdict::kAllBeyond) continue;
    const std::uint32_t lower = 2 * run + 1;
    const bool lowerFirst = gapSquared(lower) <= gapSquared(lower + 1);
    waiting[count++] = lowerFirst ? lower + 1 : lower;
    waiting[count++] = lowerFirst ? lower : lower + 1;
  }
  return nullptr;
}

const MapPoint* SortedPointGrid::CloserPoint(MapPoint point, double distance) const {
  if (points_.empty()) return nullptr;
  const MapPoint offset{point.x - center_.x, point.y - center_.y};
  return CloserInLevel(0, {point, distance, offset, std::sqrt(Dot(offset, offset))});
}

}  // namespace bosquell
