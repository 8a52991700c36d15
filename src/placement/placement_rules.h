#pragma once

#include <optional>
#include <string_view>

#include "common/map_point.h"
#include "placement/placement.h"

namespace bosquell {

// The two optional rules of a run, in map units; 0 leaves a rule off.
struct PlacementRules {
  double keepClear = 0;  // no new object closer than this to an object the mission holds
  double spacing = 0;    // no two new objects closer than this to each other
};

// A rule's distance as typed in user units, read as the number boxes are read and given in map
// units: 0 for an empty or blank text (the rule is off). Nothing for a text that is not a
// number, or is negative, or beyond the range of a double.
std::optional<double> RuleDistance(std::string_view text);

// Every position the draw can give: the X draw reaches ceil(rangeX) either side of the center,
// the Y draw exactly rangeY.
MapRectangle PlacementArea(const PlacementParameters& parameters);

}  // namespace bosquell
