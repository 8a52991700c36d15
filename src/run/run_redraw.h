#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <streambuf>

#include "placement/recipe_draw.h"
#include "takeback/run_records.h"

namespace bosquell {

// A run drawn again to be taken back, and what became of its objects in the mission.
struct RedrawnRun {
  enum class Outcome {
    kDrawn,      // the draw is the run's; `records` says where its objects are
    kFellShort,  // the layers do not complete: no run of this recipe and seed wrote the mission
    kUnsettled,  // no draw around the mission's objects agrees with the records it finds
  };
  Outcome outcome = Outcome::kDrawn;
  DrawnLayers drawn;
  RunRecords records;
  int rounds = 0;  // how many draws were taken
};

// The mission from its start, each time it is called. Throws MissionStreamError when it cannot.
using MissionFromStart = std::function<std::streambuf&()>;

// Draws the run of `layers` from `seed` again and finds its records in the mission.
//
// Layers that keep clear drew around the mission's objects as they stood before the run, which
// the mission no longer shows: the run's own trees stand among them now. The draw is therefore
// taken around the mission's objects less the run's, and those are known only from a draw. It is
// taken without a guess of them first: the records of the types the run draws that close the
// file, where a run appends its trees (then fewer of them, then the last ones, then every such
// record); then again without what each draw taught (see LearnedFrom), until a draw is taken
// without exactly the records it finds: a draw that agrees with the mission, which is then
// checked against the whole of it. When none does (an editor put objects close to the run's
// trees, say), the outcome says so, and nothing should be taken back. The draws search the
// records near the run, read once and kept in memory; the mission is read twice in all.
RedrawnRun RedrawRun(std::span<const CompiledLayer> layers, std::uint32_t seed,
                     const MissionFromStart& mission, const TakeBackOptions& options = {});

}  // namespace bosquell
