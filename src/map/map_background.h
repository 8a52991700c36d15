#pragma once

#include <string>

#include "common/map_point.h"
#include "map/background_picture.h"
#include "map/map_scene.h"
#include "map/map_viewport.h"

namespace bosquell {

// A picture under the map: where its top-left and bottom-right corners lie, in map units (as
// everything the map draws), and how much of it shows over the map's white.
struct MapBackground {
  const BackgroundPicture* picture = nullptr;  // owned by whoever shows it; never null to paint
  MapPoint topLeft;
  MapPoint bottomRight;
  double opacity = 1;  // 0 shows only white, 1 the picture as it is
};

// Why the corners cannot place a picture, or empty: they must be finite, and the top-left one
// must lie left of and above the bottom-right one, so that the picture has a width and a height.
std::string BackgroundCornersProblem(MapPoint topLeft, MapPoint bottomRight);

// Where a map point lies on the picture, in pixels of the whole picture from its top-left
// corner, and the other way round. The corners must have no problem.
PixelPoint PicturePosition(const MapBackground& background, MapPoint point);
MapPoint MapPosition(const MapBackground& background, PixelPoint picturePixel);

// Paints the part of the picture the viewport sees into the scene's pixels, from the smaller
// copy just finer than the screen, each screen pixel mixed from the four picture pixels nearest
// its middle and laid on white at the background's opacity. Pixels the picture does not cover
// are left as they are; nothing is painted when the corners have a problem.
void PaintBackground(const MapBackground& background, const MapViewport& viewport, MapScene& scene);

}  // namespace bosquell
