#include "window_logic/window_placement.h"

#include <algorithm>

namespace bosquell {

ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& workArea) {
  width = std::clamp(width, 0, std::max(0, workArea.Width()));
  height = std::clamp(height, 0, std::max(0, workArea.Height()));
  int left = 0;
  if (main.right + width <= workArea.right) {
    left = main.right;
  } else if (main.left - width >= workArea.left) {
    left = main.left - width;
  } else if (workArea.right - main.right >= main.left - workArea.left) {
    left = workArea.right - width;
  } else {
    left = workArea.left;
  }
  const int top =
      std::clamp(main.top, workArea.top, std::max(workArea.top, workArea.bottom - height));
  return {left, top, left + width, top + height};
}

}  // namespace bosquell
