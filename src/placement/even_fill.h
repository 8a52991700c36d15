#pragma once

#include <cstddef>
#include <vector>

#include "common/map_point.h"
#include "placement/layer_area.h"
#include "placement/placement_rules.h"
#include "placement/point_grid.h"
#include "placement/random_source.h"
#include "placement/sorted_point_grid.h"

namespace bosquell {

// Candidates tried around each active position before it is retired. Thirty, as Bridson
// suggests, fills about 6% more of an area at more than twice the cost; the visit of the cells
// that follows finds some of what fewer candidates leave.
inline constexpr int kCandidatesPerPoint = 10;
// Candidates tried in each empty cell when looking for room the growth did not reach.
inline constexpr int kSeedTriesPerCell = 4;

struct EvenFill {
  std::vector<MapPoint> positions;  // in the order found
  bool overfilled = false;          // more than `most` fit: the fill stopped at most + 1
};

// Whole map-unit positions in `area`, within `box`, no two closer than rules.spacing and none
// closer than rules.keepClear to a point of `existing` or `earlier`, spread over every part of
// the area: Poisson-disk sampling after Bridson, in this order of draws.
//
// The cells of a grid over `box`, squares about one spacing wide, are visited once each in
// order, starting from cell RandomInt(0, cells - 1, r). In a cell that holds no position yet
// and may hold some of the area, up to kSeedTriesPerCell candidates are drawn, each X =
// RandomInt over the cell's whole map units, then Y the same; the first that lies in the area
// and keeps the rules is placed and grows the fill:
//   while some position is active: one of them, RandomInt(0, active - 1, r); up to
//   kCandidatesPerPoint candidates around it, each an offset of whole map units (dx =
//   RandomInt(-w, w, r), then dy the same, w = floor(2 * spacing), at least 1) drawn again
//   until it lies no closer than the spacing and no farther than twice it (at least 1.5), at
//   most 64 times; the first candidate in the area that keeps the rules is placed and becomes
//   active; when none is, the active position is retired (the last active one takes its place).
// Then the visit goes on with the next cell. A part of the area that the growth from one seed
// cannot reach, across a gap wider than twice the spacing, gets its own seed from its cells,
// unless it only lies in cells that already hold positions of another part: the cells are one
// spacing wide, and wider only where the box would need more than four of them for every
// position that may fit (a thin area in a wide box).
EvenFill FillEvenly(const LayerArea& area, const MapRectangle& box, const PlacementRules& rules,
                    const SortedPointGrid* existing, const GrowingPointGrid* earlier,
                    std::size_t most, RandomSource& random);

}  // namespace bosquell
