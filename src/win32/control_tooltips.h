#pragma once

#include "common/windows_headers.h"

#include <utility>
#include <vector>

namespace bosquell::win32 {

// Gives the children of `window` with these ids a tooltip each, shown as the pointer rests on
// them. The tooltip window belongs to `window` and goes with it; null when it could not be made.
HWND AddTooltips(HWND window, const std::vector<std::pair<int, const wchar_t*>>& tips);

}  // namespace bosquell::win32
