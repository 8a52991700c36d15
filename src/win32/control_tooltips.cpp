#include "win32/control_tooltips.h"

#include <commctrl.h>

namespace bosquell::win32 {

HWND AddTooltips(HWND window, const std::vector<std::pair<int, const wchar_t*>>& tips) {
  HWND tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                 nullptr, nullptr, nullptr);
  if (tooltip == nullptr) return nullptr;
  for (const auto& [id, text] : tips) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, id));
    // The control keeps its text; the tooltip only reads it.
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return tooltip;
}

}  // namespace bosquell::win32
