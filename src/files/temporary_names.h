#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "files/platform_files.h"

namespace bosquell {

// The name of a temporary file beside `target`: "<target's name>.<process id>.<8 hex
// digits>.tmp". The process id tells a later run whether the file's writer is still alive.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, std::uint32_t processId,
                                       std::uint32_t salt);

// The process id in a temporary name made for `target`; nothing for any other name.
std::optional<std::uint32_t> TemporaryOwner(const std::filesystem::path& target,
                                            const std::filesystem::path& name);

// Removes the temporary files beside `target` that runs no longer alive left behind (a run
// killed outright cannot remove its own), and nothing else.
void RemoveStaleTemporaries(const std::filesystem::path& target);

// Eight hex digits that another run starting at the same moment is unlikely to draw.
std::uint32_t FreshSalt();

// Creates a named temporary file beside `target` exclusively, registered for removal on an
// interrupt; a name that is taken (by anything, a planted link included) is passed over for
// the next salt.
bool CreateNamedTemporary(const std::filesystem::path& target, std::uint32_t salt,
                          TemporaryFile& temporary, std::error_code& error);

}  // namespace bosquell
