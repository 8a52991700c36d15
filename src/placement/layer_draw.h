#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "placement/compiled_layer.h"
#include "placement/placement.h"
#include "placement/random_source.h"
#include "placement/sorted_point_grid.h"

namespace bosquell {

// The most positions a count of "even" fills the area with before choosing among them: where
// more would fit, the spacing is widened by steps of 2^(1/4) until no more than this many do,
// still over 46,000, more than the largest count a run takes.
inline constexpr std::size_t kMostFilled = std::size_t{1} << 16;

// The objects of one layer, in file order.
struct DrawnLayer {
  enum class Outcome {
    kComplete,    // every object asked for, or every one a fill found room for
    kIncomplete,  // fewer found a place than asked for: `objects` holds those that did
    kOverfilled,  // a fill found room for more than `room` objects: `objects` is empty
  };
  std::vector<DrawnObject> objects;
  Outcome outcome = Outcome::kComplete;
};

// Draws one layer; a run draws its layers in order, each from where the random source stands.
// Its objects keep clear (layer.rules.keepClear) of the points of `existing` (the mission's
// objects, or none) and of `earlier` (the objects of the layers drawn before), and keep the
// layer's spacing among themselves. A fill finds room for at most `room` objects.
//
// The draws, pattern by pattern, in the order they take random units:
// - "uniform": per object type, facing, X, Y, as the main window draws them, within `box`. A
//   position outside the area is drawn again, whole; so is one that breaks a rule, up to
//   kAttemptsPerObject times for that object, after which the draw stops with the objects so
//   far. Positions outside the area are counted apart, up to layer.missesAllowed an object.
//   With one include rectangle and nothing excluded this is the main window's draw, unit for
//   unit.
// - "even": the positions of FillEvenly at the layer's spacing. With `fill`, all of them, in
//   the order found. With a count, that many of them chosen at random: for i = 0 to count - 1
//   the position at i is swapped with the one at i + RandomInt(0, found - 1 - i, r) (a partial
//   Fisher-Yates shuffle), and the first `count` are kept; fewer found than asked for is
//   incomplete. (Where the area would take more than kMostFilled, a count first widens the
//   spacing; see there.) Then per object, in order, type and facing.
// - "clumped": first the clump centers, each X then Y as the uniform draw draws them, drawn
//   again until in the area. Then per object: a clump, RandomInt(0, clumps - 1, r); an offset
//   of whole map units from its center, dx = RandomInt(-w, w, r) then dy the same (w = the
//   whole part of the clump radius), drawn again until no farther than the radius (at most 64
//   times); a position outside the area, or one that breaks a rule, starts the object again
//   from the draw of a clump, counted as the uniform draw counts; once a position is kept, its
//   type and facing.
// The type draw picks from the layer's mix (TypeMix::Pick); the facing is DrawFacing.
DrawnLayer DrawLayer(const CompiledLayer& layer, const SortedPointGrid* existing,
                     std::span<const DrawnObject> earlier, std::size_t room, RandomSource& random);

}  // namespace bosquell
