#include "run/interrupt_cleanup.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <atomic>
#include <cstring>

namespace bosquell {
namespace {

// The console control handler runs on a thread of its own while the program goes on, so the
// names to remove live in fixed process-wide buffers, filled before they are armed.
struct Slot {
  std::atomic<bool> claimed{false};
  std::atomic<bool> armed{false};
  wchar_t path[32768] = {};
};
std::array<Slot, 4> g_slots;

BOOL WINAPI RemoveTemporaries(DWORD /*event*/) {
  // The temporary is open with FILE_SHARE_DELETE: it goes once the ending process closes it.
  for (Slot& slot : g_slots) {
    if (slot.armed.load()) ::DeleteFileW(slot.path);
  }
  return FALSE;  // let the default handler end the process
}

bool InstallHandler() {
  ::SetConsoleCtrlHandler(RemoveTemporaries, TRUE);
  return true;
}

}  // namespace

int RegisterInterruptRemoval(const std::filesystem::path& name) {
  static const bool installed = InstallHandler();
  (void)installed;
  const std::wstring& text = name.native();
  if (text.size() >= std::size(g_slots[0].path)) return -1;
  for (std::size_t i = 0; i < g_slots.size(); ++i) {
    Slot& slot = g_slots[i];
    bool expected = false;
    if (!slot.claimed.compare_exchange_strong(expected, true)) continue;
    std::memcpy(slot.path, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    slot.armed.store(true);
    return static_cast<int>(i);
  }
  return -1;
}

void ReleaseInterruptRemoval(int slot) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= g_slots.size()) return;
  g_slots[static_cast<std::size_t>(slot)].armed.store(false);
  g_slots[static_cast<std::size_t>(slot)].claimed.store(false);
}

}  // namespace bosquell
