#include "files/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "files/interrupt_slots.h"

namespace bosquell {
namespace {

InterruptSlots<4096> g_slots;

extern "C" void RemoveTemporariesAndEnd(int signal) {
  const int savedErrno = errno;
  g_slots.ForEachArmed([](const char* path) { ::unlink(path); });
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
  return g_slots.Claim(name);
}

void ReleaseInterruptRemoval(int slot) {
  g_slots.Release(slot);
}

}  // namespace bosquell
