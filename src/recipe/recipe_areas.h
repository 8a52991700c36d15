#pragma once

#include <cstddef>
#include <vector>

#include "recipe/recipe.h"
#include "recipe/recipe_fields.h"

namespace bosquell::recipe_fields {

// The most corners a polygon may have: the check that it does not cross itself costs up to
// O(n^2) for outlines of many long, stacked edges, a tenth of a second or two at this size.
inline constexpr std::size_t kMaxPolygonCorners = 20000;

// The [[layer.area]] tables of a layer, each with one shape, at least one of them an include.
std::vector<Area> ReadAreas(const Field& layer);

}  // namespace bosquell::recipe_fields
