#pragma once

#include <string>
#include <vector>

#include "mission/item_positions.h"
#include "placement/placement.h"

namespace bosquell {

// What the picture of one run shows.
struct PlotContent {
  std::string title;               // UTF-8
  std::vector<MapPoint> existing;  // the objects the mission held before
  std::vector<DrawnObject> added;  // the objects the run appended
  PlacementParameters placement;   // the scatter rectangle
};

// An SVG top view of the map in map units, y pointing up: the existing objects as grey dots,
// the new ones as green dots with one shade per type id, the scatter rectangle outlined, axes
// with their labels and a legend counting the new objects per type id. Equal input gives equal
// bytes on every platform.
std::string SvgPlot(const PlotContent& content);

// The text of a type id in the legend; the empty type text has no text of its own.
std::string TypeLabel(const std::string& typeText);

}  // namespace bosquell
