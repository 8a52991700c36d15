#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "common/map_point.h"
#include "placement/compiled_layer.h"
#include "placement/layer_draw.h"
#include "placement/random_source.h"
#include "placement/sorted_point_grid.h"
#include "recipe/recipe.h"

namespace bosquell {

// Every layer of a recipe made ready to draw, in order; or the index of the first layer that
// CompileLayer refuses.
std::variant<std::vector<CompiledLayer>, std::size_t> CompileLayers(
    const std::vector<Layer>& layers);

// Where the mission's objects matter to a recipe: near the areas of the layers that keep clear.
// One grid of the mission's points serves them all: it holds every point that can lie closer
// than the longest of their distances to the rectangle around all their areas.
struct KeepClearReach {
  MapRectangle area;
  double distance = 0;
  bool operator==(const KeepClearReach&) const = default;
};

// Nothing when no layer keeps clear: the mission's objects are not needed.
std::optional<KeepClearReach> ReachOfKeepClear(std::span<const CompiledLayer> layers);

// The objects of a recipe's layers, drawn in order until one of them does not complete.
struct DrawnLayers {
  std::vector<DrawnObject> objects;     // every layer's, in layer order
  std::vector<std::size_t> layerSizes;  // how many objects each layer drawn holds, in order
  // kComplete, or how the last layer drawn fell short (it is layerSizes.size() - 1).
  DrawnLayer::Outcome outcome = DrawnLayer::Outcome::kComplete;
  // When a layer fell short: the count it asked for, or for a fill the room it had.
  std::size_t asked = 0;

  bool Complete() const { return outcome == DrawnLayer::Outcome::kComplete; }
};

// Draws the layers in order, each from where the random source stands after the one before
// (DrawLayer). Each keeps clear of the points of `existing` and of the objects of the layers
// before it. A fill has room for `most` objects less the counts of the other layers and the
// objects of the fills before it.
DrawnLayers DrawLayers(std::span<const CompiledLayer> layers, const SortedPointGrid* existing,
                       std::size_t most, RandomSource& random);

}  // namespace bosquell
