#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "map/area_painting.h"
#include "map/map_background.h"
#include "map/map_scene.h"
#include "map/map_viewport.h"
#include "map/mission_density.h"
#include "placement/placement.h"

namespace bosquell {

// The existing objects at one view, as the level each pixel's channels are darkened to (255:
// not at all). Drawn once for a view, they are laid under every later picture at that view: a
// shape dragged over a large mission redraws without going through its bins again.
struct ExistingShades {
  MapRectangle visible;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> levels;

  bool Fits(const MapViewport& viewport) const;
};
ExistingShades ShadeExisting(const MissionDensity& existing, const MapViewport& viewport);

// What the map shows, in map units. The picture decides every colour, line and text.
struct MapPicture {
  std::optional<MapBackground> background;   // a picture under everything else, if any
  const MissionDensity* existing = nullptr;  // the mission's objects, when read
  // Those objects already shaded for the view, if they fit it.
  const ExistingShades* existingShades = nullptr;
  std::optional<MapRectangle> area;  // the scatter area, when the texts give one
  double keepClear = 0;              // the rules' distances; 0 is off
  double spacing = 0;
  const std::vector<DrawnObject>* objects = nullptr;  // the objects the next run writes
  std::string problem;                                // why there are none, or not all
  std::optional<MapRectangle> band;                   // the area being dragged
  std::vector<PictureArea> areas;                     // the areas of the map's recipe
  std::optional<PictureSketch> sketch;                // the shape being drawn
  std::optional<MapPoint> cursor;                     // the keyboard's cursor
  // The objects the last run appended, marked as written.
  const std::vector<DrawnObject>* written = nullptr;
  // The objects of a run about to be taken back, marked as such.
  const std::vector<DrawnObject>* takenBack = nullptr;
  std::string title;  // a heading, top left, if any
  // The new objects as dots of their own instead of pixels: for a picture that is printed or
  // scaled rather than shown on a screen.
  bool objectsAsDots = false;
  // Device pixels per pixel of the screen's usual density: the window draws the scene's texts
  // that much larger, so the legend and messages leave them as much more room.
  double textScale = 1;
  // The new objects are of inputs changed since: pale, without their circles, until the draw of
  // the new inputs replaces them.
  bool objectsOutOfDate = false;
};

// The text of a type id in the legend; the empty type text has no text of its own.
std::string TypeLabel(const std::string& typeText);

// The rectangle that shows everything: the existing objects and the area, or the area the boxes
// start with when there is neither; widened where it is thinner than a user unit.
MapRectangle WholePicture(const MissionDensity* existing, const std::optional<MapRectangle>& area);

// The scene of the picture as the viewport sees it.
MapScene DrawMapScene(const MapPicture& picture, const MapViewport& viewport);

}  // namespace bosquell
