#include "placement/layer_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "placement/even_fill.h"
#include "placement/object_draw.h"
#include "placement/point_grid.h"
#include "placement/rule_check.h"

namespace bosquell {
namespace {

// A little more than the positions a fill places for every square spacing of a wide area (0.6
// to 0.65), so that a count widens its spacing rather than fill beyond kMostFilled.
constexpr double kFilledPerSquareSpacing = 0.7;
constexpr int kDiscTries = 64;
// 2^(1/4): each step leaves about 0.7 times as many positions room.
constexpr double kWidening = 1.189207115002721;

DrawnObject ObjectAt(const std::string& type, float facing, MapPoint at) {
  return {type, facing, at.x, at.y};
}

DrawnLayer Ended(DrawnLayer drawn, DrawnLayer::Outcome outcome) {
  drawn.outcome = outcome;
  return drawn;
}

// The earlier layers' objects that can lie closer than the keep-clear distance to the layer's
// positions: those beyond twice the distance from its area along X or Y cannot.
std::optional<GrowingPointGrid> EarlierObjects(const MapRectangle& area, double keepClear,
                                               std::span<const DrawnObject> earlier) {
  if (!(keepClear > 0) || earlier.empty()) return std::nullopt;
  const MapRectangle reach = area.Grown(2 * keepClear);
  std::optional<GrowingPointGrid> grid;
  grid.emplace(area, keepClear, 2 * earlier.size() + 1);
  for (const DrawnObject& object : earlier) {
    if (reach.Contains({object.x, object.y})) grid->Add({object.x, object.y});
  }
  return grid;
}

class LayerDraw {
 public:
  LayerDraw(const CompiledLayer& layer, const SortedPointGrid* existing,
            const GrowingPointGrid* earlier, RandomSource& random)
      : layer_(layer), existing_(existing), earlier_(earlier), random_(random) {}

  DrawnLayer Uniform() {
    RuleCheck check = Check();
    DrawnLayer drawn;
    drawn.objects.reserve(static_cast<std::size_t>(layer_.count));
    for (int i = 0; i < layer_.count; ++i) {
      Tries tries;
      while (true) {
        const std::string& type = layer_.mix.Pick(random_.RandomUnit());
        const float facing = DrawFacing(random_);
        const MapPoint at = DrawPosition(layer_.box, random_);
        const Verdict verdict = Judge(at, check, tries, !layer_.areaIsBox);
        if (verdict == Verdict::kGiveUp) return Ended(std::move(drawn), Outcome::kIncomplete);
        if (verdict == Verdict::kKeep) {
          drawn.objects.push_back(ObjectAt(type, facing, at));
          break;
        }
      }
    }
    return drawn;
  }

  DrawnLayer Clumped() {
    DrawnLayer drawn;
    if (layer_.count == 0) return drawn;
    std::vector<MapPoint> centers;
    for (int i = 0; i < layer_.clumps; ++i) {
      std::int64_t misses = 0;
      MapPoint center = DrawPosition(layer_.box, random_);
      while (!layer_.area.Contains(center)) {
        if (++misses > layer_.missesAllowed) return Ended(std::move(drawn), Outcome::kIncomplete);
        center = DrawPosition(layer_.box, random_);
      }
      centers.push_back(center);
    }
    RuleCheck check = Check();
    const double radius = layer_.clumpRadius;
    const double reach = std::floor(radius);
    const auto offset = [&]() -> std::optional<MapPoint> {
      for (int attempt = 0; attempt < kDiscTries; ++attempt) {
        const double dx = RandomInt(-reach, reach, random_.RandomUnit());
        const double dy = RandomInt(-reach, reach, random_.RandomUnit());
        if (dx * dx + dy * dy <= radius * radius) return MapPoint{dx, dy};
      }
      return std::nullopt;
    };
    drawn.objects.reserve(static_cast<std::size_t>(layer_.count));
    for (int i = 0; i < layer_.count; ++i) {
      Tries tries;
      while (true) {
        const MapPoint center = centers[RandomIndex(centers.size(), random_.RandomUnit())];
        const std::optional<MapPoint> away = offset();
        const MapPoint at = away ? MapPoint{center.x + away->x, center.y + away->y} : center;
        const Verdict verdict = away ? Judge(at, check, tries, true) : Miss(tries);
        if (verdict == Verdict::kGiveUp) return Ended(std::move(drawn), Outcome::kIncomplete);
        if (verdict == Verdict::kKeep) {
          const std::string& type = layer_.mix.Pick(random_.RandomUnit());
          drawn.objects.push_back(ObjectAt(type, DrawFacing(random_), at));
          break;
        }
      }
    }
    return drawn;
  }

  DrawnLayer Even(std::size_t room) {
    DrawnLayer drawn;
    if (!layer_.fill && layer_.count == 0) return drawn;
    // A spacing beyond the map keeps every two of its points apart as any longer one does.
    double spacing = std::min(layer_.rules.spacing, 0x1p34);
    const std::size_t most = layer_.fill ? room : kMostFilled;
    if (!layer_.fill) {
      while (layer_.area.SizeEstimate() * kFilledPerSquareSpacing / (spacing * spacing) >
             static_cast<double>(most)) {
        spacing *= kWidening;
      }
    }
    EvenFill fill;
    while (true) {
      fill = FillEvenly(layer_.area, layer_.DrawArea(), {layer_.rules.keepClear, spacing},
                        existing_, earlier_, most, random_);
      if (!fill.overfilled) break;
      if (layer_.fill) return Ended(std::move(drawn), Outcome::kOverfilled);
      spacing *= kWidening;
    }
    std::vector<MapPoint>& positions = fill.positions;
    const auto count = static_cast<std::size_t>(layer_.count);
    if (!layer_.fill && positions.size() > count) {
      for (std::size_t i = 0; i < count; ++i) {
        const std::size_t j = i + RandomIndex(positions.size() - i, random_.RandomUnit());
        std::swap(positions[i], positions[j]);
      }
      positions.resize(count);
    }
    drawn.objects.reserve(positions.size());
    for (const MapPoint& at : positions) {
      const std::string& type = layer_.mix.Pick(random_.RandomUnit());
      drawn.objects.push_back(ObjectAt(type, DrawFacing(random_), at));
    }
    if (!layer_.fill && positions.size() < count) drawn.outcome = Outcome::kIncomplete;
    return drawn;
  }

 private:
  using Outcome = DrawnLayer::Outcome;
  enum class Verdict { kKeep, kAgain, kGiveUp };
  // What one object has used up.
  struct Tries {
    int attempt = 1;  // positions in the area that broke a rule, plus this one
    std::int64_t misses = 0;
  };

  RuleCheck Check() const {
    return RuleCheck(layer_.DrawArea(), layer_.rules, existing_, earlier_,
                     2 * static_cast<std::size_t>(layer_.count) + 1);
  }

  Verdict Miss(Tries& tries) const {
    return ++tries.misses > layer_.missesAllowed ? Verdict::kGiveUp : Verdict::kAgain;
  }

  Verdict Judge(MapPoint at, RuleCheck& check, Tries& tries, bool askArea) const {
    if (askArea && !layer_.area.Contains(at)) return Miss(tries);
    if (check.Breaks(at)) {
      if (tries.attempt == kAttemptsPerObject) return Verdict::kGiveUp;
      ++tries.attempt;
      return Verdict::kAgain;
    }
    check.Add(at);
    return Verdict::kKeep;
  }

  const CompiledLayer& layer_;
  const SortedPointGrid* existing_;
  const GrowingPointGrid* earlier_;
  RandomSource& random_;
};

}  // namespace

DrawnLayer DrawLayer(const CompiledLayer& layer, const SortedPointGrid* existing,
                     std::span<const DrawnObject> earlier, std::size_t room, RandomSource& random) {
  const std::optional<GrowingPointGrid> earlierGrid =
      EarlierObjects(layer.DrawArea(), layer.rules.keepClear, earlier);
  LayerDraw draw(layer, existing, earlierGrid ? &*earlierGrid : nullptr, random);
  switch (layer.pattern) {
    case Pattern::kUniform:
      return draw.Uniform();
    case Pattern::kEven:
      return draw.Even(room);
    case Pattern::kClumped:
      return draw.Clumped();
  }
  return {};
}

}  // namespace bosquell
