#include "placement/rule_check.h"

#include <algorithm>

namespace bosquell {

RuleCheck::RuleCheck(const MapRectangle& area, const PlacementRules& rules,
                     const SortedPointGrid* existing, const GrowingPointGrid* earlier,
                     std::size_t maxCells)
    : rules_(rules),
      existing_(rules.keepClear > 0 ? existing : nullptr),
      earlier_(rules.keepClear > 0 ? earlier : nullptr) {
  if (rules.spacing > 0) placed_.emplace(area, rules.spacing, maxCells);
}

bool RuleCheck::BreaksKeepClear(MapPoint at) {
  if (existing_ != nullptr) {
    for (std::size_t i = 0; i < std::min(recent_, recentlyCloser_.size()); ++i) {
      if (CloserThan(recentlyCloser_[i], at, rules_.keepClear)) return true;
    }
    if (const MapPoint* closer = existing_->CloserPoint(at, rules_.keepClear)) {
      recentlyCloser_[recent_++ % recentlyCloser_.size()] = *closer;
      return true;
    }
  }
  return earlier_ != nullptr && earlier_->AnyCloserThan(at, rules_.keepClear);
}

void RuleCheck::Add(MapPoint at) {
  if (placed_) placed_->Add(at);
}

}  // namespace bosquell
