#include "window_logic/window_placement.h"

#include <algorithm>

namespace bosquell {

ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& workArea,
                       int minimumWidth) {
  width = std::clamp(width, 0, std::max(0, workArea.Width()));
  height = std::clamp(height, 0, std::max(0, workArea.Height()));
  const int roomRight = workArea.right - main.right;
  const int roomLeft = main.left - workArea.left;
  const bool rightSide = roomRight >= width || (roomLeft < width && roomRight >= roomLeft);
  const int room = rightSide ? roomRight : roomLeft;
  if (room < width && room >= std::max(minimumWidth, 1)) width = room;
  int left = 0;
  if (room >= width) {
    left = rightSide ? main.right : main.left - width;
  } else {
    left = rightSide ? workArea.right - width : workArea.left;
  }
  const int top =
      std::clamp(main.top, workArea.top, std::max(workArea.top, workArea.bottom - height));
  return {left, top, left + width, top + height};
}

}  // namespace bosquell
