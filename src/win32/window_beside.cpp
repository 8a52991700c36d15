#include "win32/window_beside.h"

#include "window_logic/window_placement.h"

namespace bosquell::win32 {
namespace {

ScreenRect ToScreenRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

void PlaceBeside(HWND window, HWND main, int width, int height, int minimumWidth) {
  RECT mainFrame{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (main == nullptr || !GetWindowRect(main, &mainFrame) ||
      !GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor)) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  const ScreenRect placed = bosquell::PlaceBeside(ToScreenRect(mainFrame), width, height,
                                                  ToScreenRect(monitor.rcWork), minimumWidth);
  SetWindowPos(window, nullptr, placed.left, placed.top, placed.Width(), placed.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace bosquell::win32
