#include "files/interrupt_cleanup.h"

#include "common/windows_headers.h"

#include "files/interrupt_slots.h"

namespace bosquell {
namespace {

// The console control handler runs on a thread of its own while the program goes on.
InterruptSlots<32768> g_slots;

BOOL WINAPI RemoveTemporaries(DWORD /*event*/) {
  // The temporary is open with FILE_SHARE_DELETE: it goes once the ending process closes it.
  g_slots.ForEachArmed([](const wchar_t* path) { ::DeleteFileW(path); });
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
  return g_slots.Claim(name);
}

void ReleaseInterruptRemoval(int slot) {
  g_slots.Release(slot);
}

}  // namespace bosquell
