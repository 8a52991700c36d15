#include "placement/recipe_draw.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace bosquell {

std::variant<std::vector<CompiledLayer>, std::size_t> CompileLayers(
    const std::vector<Layer>& layers) {
  std::vector<CompiledLayer> compiled;
  compiled.reserve(layers.size());
  for (const Layer& layer : layers) {
    std::optional<CompiledLayer> one = CompileLayer(layer);
    if (!one) return compiled.size();
    compiled.push_back(std::move(*one));
  }
  return compiled;
}

std::optional<KeepClearReach> ReachOfKeepClear(std::span<const CompiledLayer> layers) {
  std::optional<KeepClearReach> reach;
  for (const CompiledLayer& layer : layers) {
    if (!(layer.rules.keepClear > 0)) continue;
    const MapRectangle area = layer.DrawArea();
    if (!reach) {
      reach = KeepClearReach{area, layer.rules.keepClear};
      continue;
    }
    reach->area = {std::min(reach->area.left, area.left), std::min(reach->area.bottom, area.bottom),
                   std::max(reach->area.right, area.right), std::max(reach->area.top, area.top)};
    reach->distance = std::max(reach->distance, layer.rules.keepClear);
  }
  return reach;
}

DrawnLayers DrawLayers(std::span<const CompiledLayer> layers, const SortedPointGrid* existing,
                       std::size_t most, RandomSource& random) {
  // What the layers with a count take of the run's objects is known before any is drawn.
  std::size_t counted = 0;
  for (const CompiledLayer& layer : layers) {
    if (!layer.fill) counted += static_cast<std::size_t>(layer.count);
  }
  std::size_t filled = 0;
  DrawnLayers drawn;
  for (const CompiledLayer& layer : layers) {
    const std::size_t room = most - std::min(most, counted + filled);
    DrawnLayer one = DrawLayer(layer, existing, drawn.objects, room, random);
    if (layer.fill) filled += one.objects.size();
    drawn.layerSizes.push_back(one.objects.size());
    drawn.objects.insert(drawn.objects.end(), std::make_move_iterator(one.objects.begin()),
                         std::make_move_iterator(one.objects.end()));
    if (one.outcome != DrawnLayer::Outcome::kComplete) {
      drawn.outcome = one.outcome;
      drawn.asked = layer.fill ? room : static_cast<std::size_t>(layer.count);
      break;
    }
  }
  return drawn;
}

}  // namespace bosquell
