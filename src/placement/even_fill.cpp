#include "placement/even_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "placement/rule_check.h"

namespace bosquell {
namespace {

constexpr int kRingTries = 64;
// The spacing grid's cells are about one spacing wide, four for each position that can fit, and
// never more than 4 * 65,536 (1 MB).
constexpr std::size_t kMostCellsPerFour = std::size_t{1} << 16;

class Filler {
 public:
  Filler(const LayerArea& area, const MapRectangle& box, const PlacementRules& rules,
         const SortedPointGrid* existing, const GrowingPointGrid* earlier, std::size_t most,
         RandomSource& random)
      : area_(area),
        box_(box),
        spacing_(rules.spacing),
        outer_(std::max(2 * rules.spacing, 1.5)),
        reach_(std::floor(outer_)),
        most_(most),
        random_(random),
        check_(box, rules, existing, earlier, 4 * std::min(most, kMostCellsPerFour) + 1) {}

  EvenFill Run() {
    const GrowingPointGrid& placed = *check_.Placed();
    const CellLayout& layout = placed.Layout();
    const std::size_t cells = layout.Count();
    const std::size_t start = RandomIndex(cells, random_.RandomUnit());
    for (std::size_t visit = 0; visit < cells && !fill_.overfilled; ++visit) {
      const std::size_t cell = (start + visit) % cells;
      if (placed.HoldsAnyIn(cell)) continue;
      const MapRectangle square = layout.CellArea(cell % layout.Columns(), cell / layout.Columns());
      // The whole map units of the square, which holds its left and bottom edges only.
      const MapRectangle whole{std::max(std::ceil(square.left), std::ceil(box_.left)),
                               std::max(std::ceil(square.bottom), std::ceil(box_.bottom)),
                               std::min(std::ceil(square.right) - 1, std::floor(box_.right)),
                               std::min(std::ceil(square.top) - 1, std::floor(box_.top))};
      if (whole.left > whole.right || whole.bottom > whole.top || !area_.MayHoldAny(whole)) {
        continue;
      }
      for (int attempt = 0; attempt < kSeedTriesPerCell; ++attempt) {
        const double x = RandomInt(whole.left, whole.right, random_.RandomUnit());
        const MapPoint at{x, RandomInt(whole.bottom, whole.top, random_.RandomUnit())};
        if (Keeps(at)) {
          Place(at);
          Grow();
          break;
        }
      }
    }
    return std::move(fill_);
  }

 private:
  // Most candidates of a growing fill lie too near a position placed before: that is asked
  // first.
  bool Keeps(MapPoint at) {
    return !check_.BreaksSpacing(at) && area_.Contains(at) && !check_.BreaksKeepClear(at);
  }

  void Place(MapPoint at) {
    check_.Add(at);
    fill_.positions.push_back(at);
    active_.push_back(static_cast<std::uint32_t>(fill_.positions.size() - 1));
    if (fill_.positions.size() > most_) fill_.overfilled = true;
  }

  // An offset of whole map units between one and two spacings long.
  std::optional<MapPoint> RingOffset() {
    for (int attempt = 0; attempt < kRingTries; ++attempt) {
      const double dx = RandomInt(-reach_, reach_, random_.RandomUnit());
      const double dy = RandomInt(-reach_, reach_, random_.RandomUnit());
      if (!WithinDistance(dx, dy, spacing_) && dx * dx + dy * dy <= outer_ * outer_) {
        return MapPoint{dx, dy};
      }
    }
    return std::nullopt;
  }

  void Grow() {
    while (!active_.empty() && !fill_.overfilled) {
      const std::size_t slot = RandomIndex(active_.size(), random_.RandomUnit());
      const MapPoint from = fill_.positions[active_[slot]];
      bool placed = false;
      for (int attempt = 0; attempt < kCandidatesPerPoint && !placed; ++attempt) {
        const std::optional<MapPoint> offset = RingOffset();
        if (!offset) continue;
        const MapPoint at{from.x + offset->x, from.y + offset->y};
        if (Keeps(at)) {
          Place(at);
          placed = true;
        }
      }
      if (!placed) {
        active_[slot] = active_.back();
        active_.pop_back();
      }
    }
  }

  const LayerArea& area_;
  MapRectangle box_;
  double spacing_;
  double outer_;  // the longest offset from an active position
  double reach_;  // the longest offset along X or Y, whole
  std::size_t most_;
  RandomSource& random_;
  RuleCheck check_;
  EvenFill fill_;
  std::vector<std::uint32_t> active_;  // indices of the positions that may still grow
};

}  // namespace

EvenFill FillEvenly(const LayerArea& area, const MapRectangle& box, const PlacementRules& rules,
                    const SortedPointGrid* existing, const GrowingPointGrid* earlier,
                    std::size_t most, RandomSource& random) {
  return Filler(area, box, rules, existing, earlier, most, random).Run();
}

}  // namespace bosquell
