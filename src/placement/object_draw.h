#pragma once

#include <optional>
#include <streambuf>
#include <vector>

#include "placement/placement.h"
#include "placement/placement_rules.h"
#include "placement/point_grid.h"
#include "placement/random_source.h"
#include "placement/recipe_draw.h"
#include "placement/sorted_point_grid.h"
#include "placement/theme_slots.h"

namespace bosquell {

// How often one object is drawn again when its position breaks a rule, before the draw gives up.
inline constexpr int kAttemptsPerObject = 1000;

// The objects of one run, in file order. Fewer than asked for when an object found no place
// that keeps the rules within its attempts.
struct DrawnObjects {
  std::vector<DrawnObject> objects;
  bool complete = true;
};

// The objects a mission already holds that keeping clear must look at: those that can lie
// closer than `reach`'s distance to its area, read from the mission's item records.
// Nothing when the mission cannot be read.
std::optional<SortedPointGrid> ReadKeepClearGrid(std::streambuf& mission,
                                                 const KeepClearReach& reach);

// Draws `count` objects, each from four random units (type, facing, X, Y). With no rule on that
// is all. With a rule on, an object closer than the keep-clear distance to a point of
// `existing`, or closer than the spacing to an object drawn before it, is drawn again, whole,
// from the next four units, up to kAttemptsPerObject times; the draw stops at the first object
// that finds no place.
DrawnObjects DrawObjects(const PlacementParameters& parameters, const ThemeSlots& slots,
                         int topSlot, int count, const PlacementRules& rules,
                         const SortedPointGrid* existing, RandomSource& random);

}  // namespace bosquell
