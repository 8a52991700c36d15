#include "win32_test_support.h"

namespace bosquell::win32::testing {
namespace {

// Handles what the key messages left behind: characters, button clicks, notifications.
void HandlePendingMessages(const Form1Window& window) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchWindowMessage(window, message);
  }
}

void Deliver(const Form1Window& window, UINT type, WPARAM wParam, LPARAM lParam) {
  MSG message{};
  message.hwnd = GetFocus();
  message.message = type;
  message.wParam = wParam;
  message.lParam = lParam;
  DispatchWindowMessage(window, message);
  HandlePendingMessages(window);
}

}  // namespace

MessagePresenter MessageLog::Presenter() {
  return [this](HWND owner, const std::string& text) {
    messages.push_back(text);
    windowEnabled.push_back(IsWindowEnabled(owner) != FALSE);
  };
}

CurrentScratchFolder::CurrentScratchFolder(std::string_view name) {
  path_ = parent_.path() / std::filesystem::path(std::u8string(name.begin(), name.end()));
  std::filesystem::create_directory(path_);
  path_ = std::filesystem::canonical(path_);
  previous_ = std::filesystem::current_path();
  std::filesystem::current_path(path_);
}

CurrentScratchFolder::~CurrentScratchFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

void PressKey(const Form1Window& window, UINT key) {
  Deliver(window, WM_KEYDOWN, key, 1);
  Deliver(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void TypeText(const Form1Window& window, std::wstring_view text) {
  for (wchar_t character : text) Deliver(window, WM_CHAR, character, 1);
}

bool HasFocus(const Form1Window& window, Control control) {
  HWND focus = GetFocus();
  HWND handle = window.ControlHandle(control);
  return focus != nullptr && (focus == handle || IsChild(handle, focus));
}

bool TabTo(const Form1Window& window, Control control) {
  for (int presses = 0; presses < 16; ++presses) {
    if (HasFocus(window, control)) return true;
    PressKey(window, VK_TAB);
  }
  return HasFocus(window, control);
}

}  // namespace bosquell::win32::testing
