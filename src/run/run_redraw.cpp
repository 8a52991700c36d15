#include "run/run_redraw.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mission/mission_rewrite.h"
#include "placement/random_source.h"
#include "run/add_objects_request.h"
#include "run/mission_near_run.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

// Each round searches the whole mission once; a draw that agrees is found in one or two.
constexpr int kMostRounds = 4;

using PointKey = std::pair<double, double>;

DrawnLayers Draw(std::span<const CompiledLayer> layers, std::uint32_t seed,
                 const SortedPointGrid* existing) {
  MersenneRandom random(seed);
  random.StartRun();
  return DrawLayers(layers, existing, kMaxObjectCount, random);
}

// The points inside `near`, sorted, so that two sets of them compare as they are.
std::vector<PointKey> SortedKeys(const std::vector<MapPoint>& points, const MapRectangle& near) {
  std::vector<PointKey> keys;
  for (const MapPoint& point : points) {
    if (near.Contains(point)) keys.emplace_back(point.x, point.y);
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

// Where the records found for the objects stand: a removed or repeated record at its object's
// position, a changed one where it was read.
std::vector<MapPoint> FoundPositions(const std::vector<DrawnObject>& objects,
                                     const RunRecords& records) {
  std::vector<MapPoint> found;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (records.fates[i] == ObjectFate::kRemoved) found.push_back({objects[i].x, objects[i].y});
  }
  for (const KeptRecord& repeat : records.repeated) {
    found.push_back({objects[repeat.object].x, objects[repeat.object].y});
  }
  for (const KeptRecord& changed : records.changed) found.push_back(changed.at);
  return found;
}

// The grid keeping clear asks: the mission's points less one for each of `without`.
SortedPointGrid GridWithout(const std::vector<MapPoint>& points,
                            const std::vector<PointKey>& without, const KeepClearReach& reach) {
  std::map<PointKey, std::size_t> left;
  for (const PointKey& key : without) ++left[key];
  SortedPointGrid::Builder builder(reach.area, reach.distance);
  for (const MapPoint& point : points) {
    const auto found = left.find({point.x, point.y});
    if (found != left.end() && found->second > 0) {
      --found->second;
      continue;
    }
    builder.Add(point);
  }
  return std::move(builder).Build();
}

RedrawnRun::Outcome Settled(const DrawnLayers& drawn) {
  return drawn.Complete() ? RedrawnRun::Outcome::kDrawn : RedrawnRun::Outcome::kFellShort;
}

}  // namespace

RedrawnRun RedrawRun(std::span<const CompiledLayer> layers, std::uint32_t seed,
                     const MissionFromStart& mission, const TakeBackOptions& options) {
  RedrawnRun run;
  const std::optional<KeepClearReach> reach = ReachOfKeepClear(layers);
  if (!reach) {
    run.drawn = Draw(layers, seed, nullptr);
    run.outcome = Settled(run.drawn);
    if (run.drawn.Complete()) {
      run.records = FindRunRecords(mission(), run.drawn.objects, options);
      run.rounds = 1;
    }
    return run;
  }

  // The types come from a draw around nothing, which draws them as the run did up to the first
  // object the mission's objects turned away.
  std::set<std::string> types;
  for (const DrawnObject& object : Draw(layers, seed, nullptr).objects) {
    types.insert(object.typeText);
  }
  // Only points this close to the areas can turn an object away.
  const MapRectangle near = reach->area.Grown(reach->distance);
  const std::optional<MissionNearRun> mission0 = ReadMissionNearRun(mission(), near, types);
  if (!mission0) {
    throw MissionStreamError(MissionStreamError::Side::kInput, "the file could not be read");
  }
  std::vector<PointKey> without = SortedKeys(mission0->lookAlikes, near);
  for (run.rounds = 1; run.rounds <= kMostRounds; ++run.rounds) {
    const SortedPointGrid existing = GridWithout(mission0->points, without, *reach);
    run.drawn = Draw(layers, seed, &existing);
    run.records = FindRunRecords(mission(), run.drawn.objects, options);
    std::vector<PointKey> found = SortedKeys(FoundPositions(run.drawn.objects, run.records), near);
    if (found == without) {
      run.outcome = Settled(run.drawn);
      return run;
    }
    without = std::move(found);
  }
  run.rounds = kMostRounds;
  run.outcome = RedrawnRun::Outcome::kUnsettled;
  return run;
}

}  // namespace bosquell
