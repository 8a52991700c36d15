#pragma once

#include <cstdint>
#include <optional>

#include "common/map_point.h"
#include "placement/layer_area.h"
#include "placement/placement.h"
#include "placement/placement_rules.h"
#include "placement/type_mix.h"
#include "recipe/recipe.h"

namespace bosquell {

// One layer of a recipe made ready to draw: its distances and shapes in map units, its area
// with its grid, its mix with its weights summed.
struct CompiledLayer {
  Pattern pattern = Pattern::kUniform;
  TypeMix mix;
  int count = 0;
  bool fill = false;
  PlacementRules rules;  // map units
  int clumps = 0;
  double clumpRadius = 0;  // map units
  // Where the uniform draw and the clump centers land: the one include rectangle as the main
  // window reads its boxes when the area is that rectangle alone, otherwise the smallest
  // rectangle of whole map units around the includes, with a whole center.
  PlacementParameters box;
  // The area is `box` itself: nothing is excluded and the one include is that rectangle.
  bool areaIsBox = false;
  LayerArea area;
  // How many positions outside the area one object may draw before the draw gives up: the
  // attempts of the rules, times as many as the box is larger than the cells that reach the
  // area, and at least 16 times.
  std::int64_t missesAllowed = 0;

  // Every position the layer can give.
  MapRectangle DrawArea() const { return PlacementArea(box); }
};

// A recipe's shape in map units: a rectangle as the main window reads its boxes, a corridor with
// half its width. Nothing for a shape the draw cannot handle (as below).
std::optional<MapShape> ShapeInMapUnits(const AreaShape& shape, bool exclude);

// Nothing when a value leaves what the draw can handle:
// - a layer without an include area; a polygon of fewer than 3 corners, a corridor of fewer
//   than 2 points; a circle's radius or a corridor's width that is not positive and finite;
// - a rectangle MakePlacement refuses, or with a negative range; a polygon corner, a circle's
//   center or a corridor's point beyond a 32-bit map coordinate; an include circle or corridor
//   that reaches beyond one; includes that span 2^31 - 1 map units or more from south to north
//   (the 32-bit Y range);
// - an unknown theme, a weighted mix without types, a weight that is not positive and finite,
//   or weights whose sum is no finite number;
// - a negative count; a spacing, keep-clear distance or clump radius that is negative or not
//   finite in map units; `fill` with a pattern other than "even"; "even" without a spacing;
//   "clumped" with fewer than one clump.
// A type text is taken as it stands: reading the recipe checks it.
std::optional<CompiledLayer> CompileLayer(const Layer& layer);

}  // namespace bosquell
