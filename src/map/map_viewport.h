#pragma once

#include "common/map_point.h"
#include "map/map_scene.h"

namespace bosquell {

// Where the picture looks: map units to pixels and back, with y pointing up on the map and
// down on the screen.
class MapViewport {
 public:
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  double UnitsPerPixel() const { return unitsPerPixel_; }

  // Shows the whole rectangle, centred, with a margin of `marginPixels` on every side.
  void Fit(const MapRectangle& rectangle, double marginPixels);
  // Zooms by `factor` (> 1 in), keeping the map point under `about` where it is.
  void ZoomAbout(PixelPoint about, double factor);
  // Moves the picture by pixels, as a drag of its content does.
  void Pan(double dx, double dy);

  PixelPoint ToPixel(MapPoint point) const;
  MapPoint ToMap(PixelPoint pixel) const;
  // The map rectangle the picture shows.
  MapRectangle Visible() const;

 private:
  int width_ = 1;
  int height_ = 1;
  MapPoint center_;
  double unitsPerPixel_ = 1;
};

}  // namespace bosquell
