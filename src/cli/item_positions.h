#pragma once

#include <optional>
#include <streambuf>
#include <vector>

namespace bosquell {

// A point on the map, in map units.
struct MapPoint {
  double x = 0;
  double y = 0;
};

// The positions of the objects a mission already holds: the first two numbers of every
// "  position" line inside a "begin item" ... "end item" record. Lines that do not carry two
// finite numbers there are passed over, and so is a line whose two numbers run past its first
// 64 KB, the most of a line that is read. Nothing when the mission cannot be read.
std::optional<std::vector<MapPoint>> ReadItemPositions(std::streambuf& mission);

}  // namespace bosquell
