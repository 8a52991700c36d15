#include "placement/layer_area.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace bosquell {
namespace {

// Enough cells that few hold an edge, and never so many that building them costs more than the
// draws they serve: 64 a piece of outline, between 1,024 and 65,536 (5 bytes each).
constexpr std::size_t kCellsPerPiece = 64;
constexpr std::size_t kFewestCells = 1024;
constexpr std::size_t kMostCells = 65536;

constexpr std::uint8_t kIncludeCovers = 1;
constexpr std::uint8_t kExcludeCovers = 2;

enum State : std::uint8_t { kOutside, kInside, kNearEdge, kNearEdgeCovered };

std::size_t PiecesOf(const MapShape& shape) {
  if (const auto* polygon = std::get_if<MapPolygon>(&shape)) return polygon->corners.size();
  if (const auto* corridor = std::get_if<MapCorridor>(&shape)) return corridor->points.size() - 1;
  return 1;
}

// The x extent of the part of the segment from `a` to `b` whose y lies within [low, high]; false
// when no part does.
bool XRangeWithin(MapPoint a, MapPoint b, double low, double high, double& left, double& right) {
  if (std::max(a.y, b.y) < low || std::min(a.y, b.y) > high) return false;
  if (a.y == b.y) {
    left = std::min(a.x, b.x);
    right = std::max(a.x, b.x);
    return true;
  }
  double from = (low - a.y) / (b.y - a.y);
  double to = (high - a.y) / (b.y - a.y);
  if (from > to) std::swap(from, to);
  from = std::max(from, 0.0);
  to = std::min(to, 1.0);
  const double x0 = a.x + from * (b.x - a.x);
  const double x1 = a.x + to * (b.x - a.x);
  left = std::min(x0, x1);
  right = std::max(x0, x1);
  return true;
}

MapPoint CenterOf(const MapRectangle& cell) {
  return {(cell.left + cell.right) / 2, (cell.bottom + cell.top) / 2};
}

}  // namespace

// Works out, shape by shape, which cells each shape covers and which it only touches, then
// keeps for every cell its state and the parts it must ask.
//
// Why a cell's answer holds for every point whose cell it is: such a point lies within rounding
// (below 2^-16 map units) of the cell's square. A shape is said to cover a cell, or to lie apart
// from it, only when the square grown by kEdgeMargin lies wholly inside or wholly outside it,
// and a polygon's cell with no edge nearer than the margin takes the answer of its center,
// which every other point of the cell shares. Every test here reads coordinates and distances
// of the shapes as the exact tests do, with rounding far below the margin.
class LayerArea::Builder {
 public:
  explicit Builder(LayerArea& area)
      : area_(area), layout_(area.layout_), flags_(layout_.Count(), 0) {}

  void Add(const MapShape& shape, bool exclude) {
    if (const auto* rectangle = std::get_if<MapRectangle>(&shape)) {
      AddRectangle(*rectangle, exclude);
    } else if (const auto* polygon = std::get_if<MapPolygon>(&shape)) {
      AddPolygon(*polygon, exclude);
    } else if (const auto* circle = std::get_if<MapCircle>(&shape)) {
      AddCircle(*circle, exclude);
    } else {
      AddCorridor(std::get<MapCorridor>(shape), exclude);
    }
  }

  void Finish();

 private:
  std::uint32_t NewPart(Kind kind, bool exclude, std::size_t shape, std::size_t piece = 0) {
    area_.parts_.push_back(
        {kind, exclude, static_cast<std::uint32_t>(shape), static_cast<std::uint32_t>(piece)});
    return static_cast<std::uint32_t>(area_.parts_.size() - 1);
  }

  void Record(std::size_t cell, std::uint32_t part, Relation relation) {
    if (relation == Relation::kCovers) {
      flags_[cell] |= area_.parts_[part].exclude ? kExcludeCovers : kIncludeCovers;
    } else if (relation == Relation::kTouches) {
      touches_.emplace_back(static_cast<std::uint32_t>(cell), part);
    }
  }

  // Asks `relate` about every cell from column `first` to `last` of `row`.
  template <typename Relate>
  void VisitRow(std::size_t row, std::size_t first, std::size_t last, std::uint32_t part,
                Relate relate) {
    for (std::size_t column = first; column <= last; ++column) {
      Record(row * layout_.Columns() + column, part, relate(layout_.CellArea(column, row)));
    }
  }

  template <typename Relate>
  void VisitBox(const MapRectangle& box, std::uint32_t part, Relate relate) {
    const std::size_t first = layout_.Column(box.left);
    const std::size_t last = layout_.Column(box.right);
    for (std::size_t row = layout_.Row(box.bottom); row <= layout_.Row(box.top); ++row) {
      VisitRow(row, first, last, part, relate);
    }
  }

  void AddRectangle(const MapRectangle& rectangle, bool exclude) {
    area_.rectangles_.push_back(rectangle);
    const std::uint32_t part = NewPart(Kind::kRectangle, exclude, area_.rectangles_.size() - 1);
    VisitBox(rectangle.Grown(kEdgeMargin), part, [&](const MapRectangle& cell) {
      const MapRectangle grown = cell.Grown(kEdgeMargin);
      if (grown.right < rectangle.left || grown.left > rectangle.right ||
          grown.top < rectangle.bottom || grown.bottom > rectangle.top) {
        return Relation::kApart;
      }
      if (grown.left >= rectangle.left && grown.right <= rectangle.right &&
          grown.bottom >= rectangle.bottom && grown.top <= rectangle.top) {
        return Relation::kCovers;
      }
      return Relation::kTouches;
    });
  }

  void AddCircle(const MapCircle& circle, bool exclude) {
    area_.circles_.push_back(circle);
    const std::uint32_t part = NewPart(Kind::kCircle, exclude, area_.circles_.size() - 1);
    const MapPoint c = circle.center;
    const double beyond = circle.radius + kEdgeMargin;
    const double within = circle.radius - kEdgeMargin;
    VisitBox(Extent(circle).Grown(kEdgeMargin), part, [&](const MapRectangle& cell) {
      const double nearX = std::max({cell.left - c.x, c.x - cell.right, 0.0});
      const double nearY = std::max({cell.bottom - c.y, c.y - cell.top, 0.0});
      if (nearX * nearX + nearY * nearY > beyond * beyond) return Relation::kApart;
      const double farX = std::max(std::fabs(c.x - cell.left), std::fabs(c.x - cell.right));
      const double farY = std::max(std::fabs(c.y - cell.bottom), std::fabs(c.y - cell.top));
      if (within > 0 && farX * farX + farY * farY <= within * within) return Relation::kCovers;
      return Relation::kTouches;
    });
  }

  // Each piece of a corridor, the ground within its half-width of one segment, is a part of its
  // own: a cell asks only the pieces that pass near it.
  void AddCorridor(const MapCorridor& corridor, bool exclude) {
    area_.corridors_.push_back(corridor);
    const double halfWidth = corridor.halfWidth;
    const double within = halfWidth - kEdgeMargin;
    for (std::size_t piece = 0; piece + 1 < corridor.points.size(); ++piece) {
      const MapPoint a = corridor.points[piece];
      const MapPoint b = corridor.points[piece + 1];
      const std::uint32_t part =
          NewPart(Kind::kCorridorPiece, exclude, area_.corridors_.size() - 1, piece);
      // A cell lies apart when even its center's distance less a cell's side is beyond reach.
      const auto relate = [&](const MapRectangle& cell) {
        const double beyond = halfWidth + kEdgeMargin + (cell.right - cell.left);
        if (SquaredDistanceToSegment(a, b, CenterOf(cell)) > beyond * beyond) {
          return Relation::kApart;
        }
        if (within > 0) {
          const double limit = within * within;
          const bool covers = SquaredDistanceToSegment(a, b, {cell.left, cell.bottom}) <= limit &&
                              SquaredDistanceToSegment(a, b, {cell.right, cell.bottom}) <= limit &&
                              SquaredDistanceToSegment(a, b, {cell.left, cell.top}) <= limit &&
                              SquaredDistanceToSegment(a, b, {cell.right, cell.top}) <= limit;
          if (covers) return Relation::kCovers;
        }
        return Relation::kTouches;
      };
      const double reach = halfWidth + kEdgeMargin;
      const std::size_t lastRow = layout_.Row(std::max(a.y, b.y) + reach);
      for (std::size_t row = layout_.Row(std::min(a.y, b.y) - reach); row <= lastRow; ++row) {
        const MapRectangle band = layout_.CellArea(0, row);
        double left = 0;
        double right = 0;
        if (!XRangeWithin(a, b, band.bottom - reach, band.top + reach, left, right)) continue;
        VisitRow(row, layout_.Column(left - reach), layout_.Column(right + reach), part, relate);
      }
    }
  }

  // The cells within the margin of an edge are marked first; every other cell of the polygon's
  // extent takes the answer of the last cell before it in its row, when there is one with no
  // marked cell between them (no edge passes between them), and otherwise of its center.
  void AddPolygon(const MapPolygon& polygon, bool exclude) {
    area_.polygons_.emplace_back(polygon);
    const PolygonBands& bands = area_.polygons_.back();
    const std::uint32_t part = NewPart(Kind::kPolygon, exclude, area_.polygons_.size() - 1);
    if (stamps_.empty()) stamps_.assign(layout_.Count(), 0);
    const std::uint32_t stamp = part + 1;

    const std::vector<MapPoint>& corners = polygon.corners;
    for (std::size_t i = 0, previous = corners.size() - 1; i < corners.size(); previous = i++) {
      const MapPoint a = corners[previous];
      const MapPoint b = corners[i];
      const std::size_t lastRow = layout_.Row(std::max(a.y, b.y) + kEdgeMargin);
      for (std::size_t row = layout_.Row(std::min(a.y, b.y) - kEdgeMargin); row <= lastRow; ++row) {
        const MapRectangle band = layout_.CellArea(0, row);
        double left = 0;
        double right = 0;
        if (!XRangeWithin(a, b, band.bottom - kEdgeMargin, band.top + kEdgeMargin, left, right)) {
          continue;
        }
        const std::size_t lastColumn = layout_.Column(right + kEdgeMargin);
        for (std::size_t column = layout_.Column(left - kEdgeMargin); column <= lastColumn;
             ++column) {
          stamps_[row * layout_.Columns() + column] = stamp;
        }
      }
    }

    const MapRectangle box = Extent(polygon).Grown(kEdgeMargin);
    const std::size_t firstColumn = layout_.Column(box.left);
    const std::size_t lastColumn = layout_.Column(box.right);
    for (std::size_t row = layout_.Row(box.bottom); row <= layout_.Row(box.top); ++row) {
      bool known = false;
      bool inside = false;
      for (std::size_t column = firstColumn; column <= lastColumn; ++column) {
        const std::size_t cell = row * layout_.Columns() + column;
        if (stamps_[cell] == stamp) {
          Record(cell, part, Relation::kTouches);
          known = false;
          continue;
        }
        if (!known) {
          inside = bands.Contains(CenterOf(layout_.CellArea(column, row)));
          known = true;
        }
        Record(cell, part, inside ? Relation::kCovers : Relation::kApart);
      }
    }
  }

  LayerArea& area_;
  const CellLayout& layout_;
  std::vector<std::uint8_t> flags_;  // per cell, which kinds of shape cover it
  std::vector<std::pair<std::uint32_t, std::uint32_t>> touches_;  // cell and part
  std::vector<std::uint32_t> stamps_;  // per cell, 1 + the last polygon part marked near it
};

void LayerArea::Builder::Finish() {
  // In order of cell, and within a cell of part: the excludes come first.
  std::sort(touches_.begin(), touches_.end());
  const std::size_t cells = layout_.Count();
  const double cellSize = [&] {
    const MapRectangle cell = layout_.CellArea(0, 0);
    return (cell.right - cell.left) * (cell.top - cell.bottom);
  }();
  area_.states_.assign(cells, kOutside);
  area_.cellStarts_.assign(cells + 1, 0);
  std::size_t next = 0;
  for (std::size_t cell = 0; cell < cells; ++cell) {
    const std::size_t first = next;
    bool excludeTouches = false;
    bool includeTouches = false;
    for (; next < touches_.size() && touches_[next].first == cell; ++next) {
      (area_.parts_[touches_[next].second].exclude ? excludeTouches : includeTouches) = true;
    }
    area_.cellStarts_[cell] = static_cast<std::uint32_t>(area_.entries_.size());
    State state = kOutside;
    if ((flags_[cell] & kExcludeCovers) != 0) {
      state = kOutside;
    } else if ((flags_[cell] & kIncludeCovers) != 0) {
      state = excludeTouches ? kNearEdgeCovered : kInside;
    } else if (includeTouches) {
      state = kNearEdge;
    }
    area_.states_[cell] = state;
    if (state == kNearEdge || state == kNearEdgeCovered) {
      for (std::size_t i = first; i < next; ++i) {
        const std::uint32_t part = touches_[i].second;
        if (state == kNearEdge || area_.parts_[part].exclude) area_.entries_.push_back(part);
      }
    }
    if (state != kOutside) ++area_.reachedCells_;
    if (state == kInside) area_.size_ += cellSize;
    if (state == kNearEdge || state == kNearEdgeCovered) area_.size_ += cellSize / 2;
  }
  area_.cellStarts_[cells] = static_cast<std::uint32_t>(area_.entries_.size());
}

namespace {

MapRectangle BoundsOf(const std::vector<MapShape>& includes) {
  MapRectangle bounds = Extent(includes.front());
  for (const MapShape& shape : includes) {
    const MapRectangle extent = Extent(shape);
    bounds = {std::min(bounds.left, extent.left), std::min(bounds.bottom, extent.bottom),
              std::max(bounds.right, extent.right), std::max(bounds.top, extent.top)};
  }
  return bounds.Grown(kEdgeMargin);
}

CellLayout LayoutFor(const MapRectangle& bounds, const std::vector<MapShape>& includes,
                     const std::vector<MapShape>& excludes) {
  std::size_t pieces = 0;
  for (const auto* shapes : {&includes, &excludes}) {
    for (const MapShape& shape : *shapes) pieces += PiecesOf(shape);
  }
  const std::size_t cells = std::clamp(pieces * kCellsPerPiece, kFewestCells, kMostCells);
  const double side = std::sqrt((bounds.right - bounds.left) * (bounds.top - bounds.bottom) /
                                static_cast<double>(cells));
  return CellLayout(bounds, side, 2 * cells);
}

}  // namespace

LayerArea::LayerArea(const std::vector<MapShape>& includes, const std::vector<MapShape>& excludes)
    : bounds_(BoundsOf(includes)), layout_(LayoutFor(bounds_, includes, excludes)) {
  Builder builder(*this);
  for (const MapShape& shape : excludes) builder.Add(shape, true);
  for (const MapShape& shape : includes) builder.Add(shape, false);
  builder.Finish();
}

bool LayerArea::InPart(const Part& part, MapPoint point) const {
  switch (part.kind) {
    case Kind::kRectangle:
      return rectangles_[part.shape].Contains(point);
    case Kind::kPolygon:
      return polygons_[part.shape].Contains(point);
    case Kind::kCircle:
      return InCircle(circles_[part.shape], point);
    case Kind::kCorridorPiece: {
      const MapCorridor& corridor = corridors_[part.shape];
      return NearSegment(corridor.points[part.piece], corridor.points[part.piece + 1],
                         corridor.halfWidth, point);
    }
  }
  return false;
}

bool LayerArea::Contains(MapPoint point) const {
  if (!bounds_.Contains(point)) return false;
  const std::size_t cell = layout_.CellOf(point);
  const std::uint8_t state = states_[cell];
  if (state == kOutside || state == kInside) return state == kInside;
  for (std::uint32_t i = cellStarts_[cell]; i < cellStarts_[cell + 1]; ++i) {
    const Part& part = parts_[entries_[i]];
    if (InPart(part, point)) return !part.exclude;
  }
  return state == kNearEdgeCovered;
}

bool LayerArea::MayHoldAny(const MapRectangle& rectangle) const {
  const MapRectangle within{
      std::max(rectangle.left, bounds_.left), std::max(rectangle.bottom, bounds_.bottom),
      std::min(rectangle.right, bounds_.right), std::min(rectangle.top, bounds_.top)};
  if (!(within.left <= within.right && within.bottom <= within.top)) return false;
  const std::size_t firstColumn = layout_.Column(within.left);
  const std::size_t lastColumn = layout_.Column(within.right);
  for (std::size_t row = layout_.Row(within.bottom); row <= layout_.Row(within.top); ++row) {
    for (std::size_t column = firstColumn; column <= lastColumn; ++column) {
      if (states_[row * layout_.Columns() + column] != kOutside) return true;
    }
  }
  return false;
}

double LayerArea::ReachedShare() const {
  return static_cast<double>(reachedCells_) / static_cast<double>(layout_.Count());
}

double LayerArea::SizeEstimate() const {
  return size_;
}

}  // namespace bosquell
