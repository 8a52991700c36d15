#include "run/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace bosquell {
namespace {

// A signal handler can reach nothing but process-wide state, so the names to remove live here,
// copied into fixed buffers ahead of time: the handler only reads them and calls unlink.
struct Slot {
  std::atomic<bool> claimed{false};
  std::atomic<bool> armed{false};
  char path[4096] = {};
};
std::array<Slot, 4> g_slots;
static_assert(std::atomic<bool>::is_always_lock_free, "the handler needs lock-free flags");

extern "C" void RemoveTemporariesAndEnd(int signal) {
  const int savedErrno = errno;
  for (Slot& slot : g_slots) {
    if (slot.armed.load()) ::unlink(slot.path);
  }
  errno = savedErrno;
  // SA_RESETHAND has put back the default action; the signal, blocked while this handler runs,
  // is delivered again as it returns and ends the process the usual way.
  ::raise(signal);
}

bool InstallHandlers() {
  // SIGXFSZ too: a file-size limit met while writing ends the run the same way.
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0) continue;
    if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction handler {};
    handler.sa_handler = RemoveTemporariesAndEnd;
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESETHAND;
    ::sigaction(signal, &handler, nullptr);
  }
  return true;
}

}  // namespace

int RegisterInterruptRemoval(const std::filesystem::path& name) {
  static const bool installed = InstallHandlers();
  (void)installed;
  const std::string& text = name.native();
  if (text.size() >= sizeof g_slots[0].path) return -1;
  for (std::size_t i = 0; i < g_slots.size(); ++i) {
    Slot& slot = g_slots[i];
    bool expected = false;
    if (!slot.claimed.compare_exchange_strong(expected, true)) continue;
    std::memcpy(slot.path, text.c_str(), text.size() + 1);
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
