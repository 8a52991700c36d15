#include "win32/preview_mailbox.h"

#include <utility>

#include "win32/window_setup.h"

namespace bosquell::win32 {
namespace {

constexpr wchar_t kClassName[] = L"BosquellPreviewMailbox";
// The program's own message: a preview is ready to be taken.
constexpr UINT kPreviewDrawnMessage = WM_APP + 40;

}  // namespace

PreviewMailbox::PreviewMailbox(HINSTANCE instance, std::function<void()> delivered)
    : delivered_(std::move(delivered)) {
  WNDCLASSEXW mailboxClass{};
  mailboxClass.cbSize = sizeof mailboxClass;
  mailboxClass.lpfnWndProc = Procedure;
  mailboxClass.hInstance = instance;
  mailboxClass.lpszClassName = kClassName;
  RegisterClassExW(&mailboxClass);  // fails harmlessly once the class is there
  CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

PreviewMailbox::~PreviewMailbox() {
  if (window_ == nullptr) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void PreviewMailbox::Post() const {
  if (window_ != nullptr) PostMessageW(window_, kPreviewDrawnMessage, 0, 0);
}

LRESULT CALLBACK PreviewMailbox::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  PreviewMailbox* mailbox = WindowOwner(window, message, lParam, &PreviewMailbox::window_);
  if (message == kPreviewDrawnMessage && mailbox != nullptr) {
    mailbox->delivered_();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace bosquell::win32
