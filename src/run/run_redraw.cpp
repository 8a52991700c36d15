#include "run/run_redraw.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "mission/mission_rewrite.h"
#include "placement/random_source.h"
#include "run/add_objects_request.h"
#include "run/mission_near_run.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

// The most draws in all: each searches the records near the run alone, in memory, and each that
// does not agree learns at least one of them.
constexpr int kMostRounds = 96;
// A guess that does not agree is learned from this many times, the last one until it agrees.
constexpr int kRoundsAGuess = 4;
// How many of the first look-alikes that close the file are left out of it in turn.
constexpr std::size_t kClosingTrimmed = 8;

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

struct PointKeyHash {
  std::size_t operator()(const PointKey& key) const {
    // + 0.0 makes -0 the +0 it compares equal to.
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value + 0.0); };
    const std::uint64_t mixed = (bits(key.first) * 0x9e3779b97f4a7c15u) ^ bits(key.second);
    return static_cast<std::size_t>(mixed ^ (mixed >> 29));
  }
};

// The grid keeping clear asks: the mission's points less one for each of `without`.
SortedPointGrid GridWithout(const std::vector<MapPoint>& points,
                            const std::vector<PointKey>& without, const KeepClearReach& reach) {
  std::unordered_map<PointKey, std::size_t, PointKeyHash> left;
  left.reserve(without.size());
  for (const PointKey& key : without) ++left[key];
  SortedPointGrid::Builder builder(reach.area, reach.distance);
  for (const MapPoint& point : points) {
    if (!left.empty()) {
      const auto found = left.find({point.x, point.y});
      if (found != left.end()) {
        if (--found->second == 0) left.erase(found);
        continue;
      }
    }
    builder.Add(point);
  }
  return std::move(builder).Build();
}

RedrawnRun::Outcome Settled(const DrawnLayers& drawn) {
  return drawn.Complete() ? RedrawnRun::Outcome::kDrawn : RedrawnRun::Outcome::kFellShort;
}

// What the next draw is taken without, after a draw that did not agree: every record it found
// is the run's, and so are the look-alikes it was drawn without, except the one closest to its
// first object not found. There the draw went its own way, which a look-alike that stood in the
// mission before the run makes it do: it kept the run's draw from placing an object there. When
// no look-alike stands that close, nothing is learned.
std::vector<PointKey> LearnedFrom(const std::vector<PointKey>& without,
                                  const std::vector<PointKey>& found,
                                  const std::vector<DrawnObject>& objects,
                                  const RunRecords& records, const MapRectangle& near,
                                  double distance) {
  std::vector<PointKey> unfound;
  std::set_difference(without.begin(), without.end(), found.begin(), found.end(),
                      std::back_inserter(unfound));
  // Only objects near the run can be found among the records kept near it.
  std::size_t first = 0;
  while (first < objects.size() && (records.fates[first] != ObjectFate::kNotFound ||
                                    !near.Contains({objects[first].x, objects[first].y}))) {
    ++first;
  }
  if (first == objects.size()) return found;
  const DrawnObject& object = objects[first];
  const auto squared = [&object](const PointKey& key) {
    const double dx = key.first - object.x;
    const double dy = key.second - object.y;
    return dx * dx + dy * dy;
  };
  const auto closest = std::min_element(
      unfound.begin(), unfound.end(),
      [&](const PointKey& a, const PointKey& b) { return squared(a) < squared(b); });
  if (closest == unfound.end() || !(squared(*closest) < distance * distance)) return without;
  unfound.erase(closest);
  std::vector<PointKey> next = found;
  next.insert(next.end(), unfound.begin(), unfound.end());
  std::sort(next.begin(), next.end());
  return next;
}

// Draws without `without`, then without what each draw taught, until a draw agrees with the
// records near the run or nothing more is learned; `run` holds the last draw. Returns whether it
// agreed, and what that draw was taken without.
bool Settle(std::span<const CompiledLayer> layers, std::uint32_t seed,
            const MissionNearRun& nearRun, const KeepClearReach& reach, const MapRectangle& near,
            const TakeBackOptions& options, std::vector<PointKey>& without, RedrawnRun& run,
            bool& anyFound, int rounds) {
  bool learning = true;
  for (int round = 0; learning && round < rounds && run.rounds < kMostRounds; ++round) {
    ++run.rounds;
    const SortedPointGrid existing = GridWithout(nearRun.points, without, reach);
    run.drawn = Draw(layers, seed, &existing);
    std::stringbuf records(nearRun.records);
    const RunRecords found = FindRunRecords(records, run.drawn.objects, options);
    std::vector<PointKey> foundKeys = SortedKeys(FoundPositions(run.drawn.objects, found), near);
    anyFound = anyFound || !foundKeys.empty();
    // A draw that finds nothing agrees with any mission: it is no answer.
    if (run.drawn.Complete() && !foundKeys.empty() && foundKeys == without) return true;
    std::vector<PointKey> next =
        LearnedFrom(without, foundKeys, run.drawn.objects, found, near, reach.distance);
    learning = next != without;
    without = std::move(next);
  }
  return false;
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
  const DrawnLayers aroundNothing = Draw(layers, seed, nullptr);
  std::set<std::string> types;
  for (const DrawnObject& object : aroundNothing.objects) types.insert(object.typeText);
  // Only points this close to the areas can turn an object away, and only records this close
  // can be the run's ones there, moved or not.
  const MapRectangle near = reach->area.Grown(reach->distance);
  const std::optional<MissionNearRun> nearRun =
      ReadMissionNearRun(mission(), near, near.Grown(options.movedWithin), types);
  if (!nearRun) {
    throw MissionStreamError(MissionStreamError::Side::kInput, "the file could not be read");
  }
  // The draws look for the records among those near the run. A run appends its trees after the
  // mission's records, one after another, and an editor mostly leaves them together: the
  // look-alikes of the last block of records of the run's types are the first guess, but for
  // trees of those types that the mission ended with before the run, so the guess is tried
  // without a few of its first ones too; then the last look-alikes, as many as the run draws
  // around nothing; then every look-alike.
  const std::vector<MapPoint>& lookAlikes = nearRun->lookAlikes;
  const auto lastOnes = [&](std::size_t count) {
    return SortedKeys(std::vector<MapPoint>(lookAlikes.end() - static_cast<std::ptrdiff_t>(count),
                                            lookAlikes.end()),
                      near);
  };
  const std::size_t closing = lookAlikes.size() - nearRun->lastBlock;
  std::vector<std::vector<PointKey>> guesses;
  for (std::size_t first = 0; first <= std::min<std::size_t>(closing, kClosingTrimmed); ++first) {
    guesses.push_back(lastOnes(closing - first));
  }
  guesses.push_back(lastOnes(std::min(lookAlikes.size(), aroundNothing.objects.size())));
  guesses.push_back(lastOnes(lookAlikes.size()));
  std::vector<PointKey> without;
  bool anyFound = false;
  bool agreed = false;
  for (std::size_t i = 0; i < guesses.size() && !agreed; ++i) {
    if (guesses[i].empty() || (i > 0 && guesses[i] == guesses[i - 1])) continue;
    without = guesses[i];
    const bool last = i + 1 == guesses.size();
    agreed = Settle(layers, seed, *nearRun, *reach, near, options, without, run, anyFound,
                    last ? kMostRounds : kRoundsAGuess);
  }
  // The draw that agrees is checked against the whole mission.
  run.records = FindRunRecords(mission(), run.drawn.objects, options);
  // A draw that found nothing near the run, whatever it was taken without, is of no run here.
  run.outcome = !anyFound || (agreed && SortedKeys(FoundPositions(run.drawn.objects, run.records),
                                                   near) == without)
                    ? RedrawnRun::Outcome::kDrawn
                    : RedrawnRun::Outcome::kUnsettled;
  return run;
}

}  // namespace bosquell
