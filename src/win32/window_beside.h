#pragma once

#include "common/windows_headers.h"

namespace bosquell::win32 {

// Places `window` with a frame of `width` x `height` beside `main` on main's monitor
// (PlaceBeside), within that monitor's work area; narrowed down to `minimumWidth` to fit there.
void PlaceBeside(HWND window, HWND main, int width, int height, int minimumWidth);

}  // namespace bosquell::win32
