#pragma once

namespace bosquell {

// A window's frame on the screen, in the screen's pixels; right and bottom are past the frame.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};

// Where a window of `width` x `height` opens beside `main`, within `workArea` (the screen less
// its task bar): to its right where it fits, else to its left, else narrowed to the side with
// more room while that leaves it `minimumWidth`, else on that side pushed into the work area, so
// that it covers as little of the main window's boxes as it can. It is never larger than the
// work area, and its top is level with the main window's as far as the work area lets it.
ScreenRect PlaceBeside(const ScreenRect& main, int width, int height, const ScreenRect& workArea,
                       int minimumWidth = 0);

}  // namespace bosquell
