#pragma once

#include <filesystem>

namespace bosquell {

// Until released, the named file is removed when SIGINT, SIGTERM, SIGHUP or SIGXFSZ (a file-size
// limit) ends the process, or on Windows a console Ctrl+C, Ctrl+Break, close, log-off or
// shut-down; the process then ends as it would have without it. The handlers are installed on
// first use, for every program that writes an output, and only where the signal still has its
// default action: a signal the user chose to ignore (nohup) stays ignored. Returns a slot for
// the release, or -1 when none is free.
int RegisterInterruptRemoval(const std::filesystem::path& name);
void ReleaseInterruptRemoval(int slot);

}  // namespace bosquell
