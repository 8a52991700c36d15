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

// The object that handles the messages of `window`, for a window procedure. The object comes
// with WM_NCCREATE, as the creation's parameter: it is kept in the window's user data and its
// `handle` member is set to the window. Null for the messages before, and once the user data
// is cleared.
template <typename Owner>
Owner* WindowOwner(HWND window, UINT message, LPARAM lParam, HWND Owner::*handle) {
  if (message == WM_NCCREATE) {
    auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    owner->*handle = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  }
  return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace bosquell
