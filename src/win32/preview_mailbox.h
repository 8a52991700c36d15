#pragma once

#include "common/windows_headers.h"

#include <functional>

namespace bosquell::win32 {

// A message-only window that carries the preview thread's word that a preview is drawn to the
// window's thread: Post may be called from any thread, `delivered` runs on the thread that made
// the mailbox, from its message loop.
class PreviewMailbox {
 public:
  PreviewMailbox(HINSTANCE instance, std::function<void()> delivered);
  ~PreviewMailbox();
  PreviewMailbox(const PreviewMailbox&) = delete;
  PreviewMailbox& operator=(const PreviewMailbox&) = delete;

  void Post() const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::function<void()> delivered_;
  HWND window_ = nullptr;
};

}  // namespace bosquell::win32
