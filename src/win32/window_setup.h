#pragma once

#include "common/windows_headers.h"

#include <utility>
#include <vector>

namespace bosquell {

// Registers a top-level window class of the program, with its icon in both sizes, once.
void RegisterTopLevelClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure);

// Gives the children of `window` with these ids names for screen readers, where the system
// takes them; a missing service only costs the names.
void SetAccessibleNames(HWND window, const std::vector<std::pair<int, const wchar_t*>>& names);

}  // namespace bosquell
