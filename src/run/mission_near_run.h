#pragma once

#include <optional>
#include <set>
#include <streambuf>
#include <string>
#include <vector>

#include "common/map_point.h"

namespace bosquell {

// What of a mission matters when a run that kept clear is drawn again: the positions keeping
// clear takes from it (as a run gathers them) inside `near`; of those, the positions of the
// records that look like trees of the run (a type_id whose text is one of `types`); and the
// records with a type_id whose position lies inside `recordsNear`, in file order with CR LF
// line ends, where
// the run's records can be looked for over and over without reading the whole mission again.
struct MissionNearRun {
  std::vector<MapPoint> points;
  std::vector<MapPoint> lookAlikes;  // in file order
  // Where the look-alikes of the last block of records of the run's types begin, which no
  // record of another type interrupts.
  std::size_t lastBlock = 0;
  std::string records;
};

// Reads the mission from where it stands; nothing when it cannot be read.
std::optional<MissionNearRun> ReadMissionNearRun(std::streambuf& mission, const MapRectangle& near,
                                                 const MapRectangle& recordsNear,
                                                 const std::set<std::string>& types);

}  // namespace bosquell
