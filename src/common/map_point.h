#pragma once

namespace bosquell {

// A point on the map, in map units.
struct MapPoint {
  double x = 0;
  double y = 0;
};

// An axis-aligned rectangle on the map, in map units, edges included.
struct MapRectangle {
  double left = 0;
  double bottom = 0;
  double right = 0;
  double top = 0;

  bool Contains(MapPoint point) const {
    return point.x >= left && point.x <= right && point.y >= bottom && point.y <= top;
  }
  MapRectangle Grown(double margin) const {
    return {left - margin, bottom - margin, right + margin, top + margin};
  }
  bool operator==(const MapRectangle&) const = default;
};

}  // namespace bosquell
