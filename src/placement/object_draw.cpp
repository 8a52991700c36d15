#include "placement/object_draw.h"

#include <algorithm>
#include <array>
#include <optional>

#include "mission/item_positions.h"

namespace bosquell {

std::optional<SortedPointGrid> ReadKeepClearGrid(std::streambuf& mission,
                                                 const PlacementParameters& parameters,
                                                 const PlacementRules& rules) {
  SortedPointGrid::Builder gathered(PlacementArea(parameters), rules.keepClear);
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
  // With no rule on, no object breaks one: each is drawn once, as it always was.
  const bool keepClear = rules.keepClear > 0 && existing != nullptr;
  std::optional<GrowingPointGrid> placed;
  if (rules.spacing > 0) {
    placed.emplace(PlacementArea(parameters), rules.spacing,
                   2 * static_cast<std::size_t>(count) + 1);
  }
  // The existing objects that broke the rule last are asked first: where most draws break it,
  // a few objects often cover most of the area.
  std::array<MapPoint, 4> recentlyCloser;
  std::size_t recent = 0;
  const auto breaksARule = [&](const DrawnObject& object) {
    const MapPoint at{object.x, object.y};
    if (keepClear) {
      for (std::size_t i = 0; i < std::min(recent, recentlyCloser.size()); ++i) {
        if (CloserThan(recentlyCloser[i], at, rules.keepClear)) return true;
      }
      if (const MapPoint* closer = existing->CloserPoint(at, rules.keepClear)) {
        recentlyCloser[recent++ % recentlyCloser.size()] = *closer;
        return true;
      }
    }
    return placed && placed->AnyCloserThan(at, rules.spacing);
  };
  for (int i = 0; i < count; ++i) {
    int attempt = 1;
    DrawnObject object = DrawObject(parameters, slots, topSlot, random);
    while (breaksARule(object)) {
      if (attempt == kAttemptsPerObject) {
        drawn.complete = false;
        return drawn;
      }
      ++attempt;
      object = DrawObject(parameters, slots, topSlot, random);
    }
    if (placed) placed->Add({object.x, object.y});
    drawn.objects.push_back(std::move(object));
  }
  return drawn;
}

}  // namespace bosquell
