#include "window_logic/device_pixels.h"

#include <algorithm>
#include <cmath>

namespace bosquell {

double UsableRatio(double ratio) {
  return ratio >= 0.125 && ratio <= 16 ? ratio : 1;
}

int DevicePixels(int logical, double ratio) {
  // A logical length of a window is far below where a double loses whole numbers.
  return std::max(1, static_cast<int>(std::lround(std::max(logical, 0) * UsableRatio(ratio))));
}

PixelPoint DevicePoint(PixelPoint logical, double ratio) {
  const double usable = UsableRatio(ratio);
  return {logical.x * usable, logical.y * usable};
}

}  // namespace bosquell
