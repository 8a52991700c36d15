#include "placement/object_draw.h"

#include <optional>

#include "mission/item_positions.h"
#include "placement/rule_check.h"

namespace bosquell {

std::optional<SortedPointGrid> ReadKeepClearGrid(std::streambuf& mission,
                                                 const KeepClearReach& reach) {
  SortedPointGrid::Builder gathered(reach.area, reach.distance);
  if (!ForEachItemPosition(mission, [&gathered](MapPoint at) { gathered.Add(at); })) {
    return std::nullopt;
  }
  return std::move(gathered).Build();
}

DrawnObjects DrawObjects(const PlacementParameters& parameters, const ThemeSlots& slots,
                         int topSlot, int count, const PlacementRules& rules,
                         const SortedPointGrid* existing, RandomSource& random) {
  DrawnObjects drawn;
  drawn.objects.reserve(static_cast<std::size_t>(count));
  RuleCheck check(PlacementArea(parameters), rules, existing, nullptr,
                  2 * static_cast<std::size_t>(count) + 1);
  for (int i = 0; i < count; ++i) {
    int attempt = 1;
    DrawnObject object = DrawObject(parameters, slots, topSlot, random);
    while (check.Breaks({object.x, object.y})) {
      if (attempt == kAttemptsPerObject) {
        drawn.complete = false;
        return drawn;
      }
      ++attempt;
      object = DrawObject(parameters, slots, topSlot, random);
    }
    check.Add({object.x, object.y});
    drawn.objects.push_back(std::move(object));
  }
  return drawn;
}

}  // namespace bosquell
