#pragma once

#include <optional>
#include <vector>

#include "common/map_point.h"
#include "map/map_scene.h"
#include "map/map_viewport.h"
#include "placement/area_shapes.h"

namespace bosquell {

// An area of the map's recipe as the picture shows it, in map units: an include filled light in
// its layer's colour, an exclude hatched red, the selected one with its handles.
struct PictureArea {
  MapShape shape;
  bool exclude = false;
  Rgb colour;
  bool selected = false;
  std::vector<MapPoint> handles;  // drawn when selected
};

// The shape being drawn, in map units: the points placed so far and then the pointer, joined by
// lines; or the rectangle or circle a drag spans.
struct PictureSketch {
  std::vector<MapPoint> line;
  std::optional<MapShape> shape;
};

// The areas' fills and hatching, into the scene's pixels.
void PaintAreaFills(const std::vector<PictureArea>& areas, const MapViewport& viewport,
                    MapScene& scene);
// The areas' outlines and handles, the sketch and the keyboard cursor, over everything else.
void PaintAreaOutlines(const std::vector<PictureArea>& areas,
                       const std::optional<PictureSketch>& sketch,
                       const std::optional<MapPoint>& cursor, const MapViewport& viewport,
                       MapScene& scene);

}  // namespace bosquell
