#pragma once

#include "map/map_scene.h"

namespace bosquell {

// A screen of `ratio` device pixels to each of the window system's logical pixels (1.5 at 150%):
// the map draws its picture in device pixels, so that it stays sharp. A ratio that is no
// number, or below 1/8 or above 16, counts as 1.
double UsableRatio(double ratio);
// A logical length in whole device pixels, at least one.
int DevicePixels(int logical, double ratio);
// A logical point (the pointer's) in device pixels.
PixelPoint DevicePoint(PixelPoint logical, double ratio);

}  // namespace bosquell
