#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "common/map_point.h"
#include "placement/placement_rules.h"
#include "placement/point_grid.h"
#include "placement/sorted_point_grid.h"

namespace bosquell {

// The keep-clear and spacing rules for the objects of one draw, asked for each position drawn:
// keep clear of the points of `existing` and of `earlier` (each may be absent), and of every
// object added before at the spacing. A rule with distance 0 is off.
class RuleCheck {
 public:
  // `area` holds every position asked about; `maxCells` bounds the spacing grid.
  RuleCheck(const MapRectangle& area, const PlacementRules& rules, const SortedPointGrid* existing,
            const GrowingPointGrid* earlier, std::size_t maxCells);

  // Whether a position breaks a rule. Remembers the existing points that broke it last: where
  // most positions break it, a few points often cover most of the area.
  bool Breaks(MapPoint at) { return BreaksSpacing(at) || BreaksKeepClear(at); }
  // The two rules one by one, for a draw that asks something else in between. The spacing may be
  // asked of any position; keeping clear only of a position in `area`.
  bool BreaksSpacing(MapPoint at) const {
    return placed_ && placed_->AnyCloserThan(at, rules_.spacing);
  }
  bool BreaksKeepClear(MapPoint at);
  // Adds a position that keeps the rules, for the spacing.
  void Add(MapPoint at);
  // The objects added, when the spacing is on.
  const GrowingPointGrid* Placed() const { return placed_ ? &*placed_ : nullptr; }

 private:
  PlacementRules rules_;
  const SortedPointGrid* existing_;
  const GrowingPointGrid* earlier_;
  std::optional<GrowingPointGrid> placed_;
  std::array<MapPoint, 4> recentlyCloser_;
  std::size_t recent_ = 0;
};

}  // namespace bosquell
