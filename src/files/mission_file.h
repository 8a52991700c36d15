#pragma once

#include <string_view>
#include <system_error>

#include "files/platform_files.h"

namespace bosquell {

// Opens the mission file at `path` (UTF-8) for reading. Only a regular file is opened: a folder,
// a device, a pipe or a socket is refused with FileError::kDirectory or kNotRegularFile, a file
// that is not there with std::errc::no_such_file_or_directory. The file is never written.
NativeFile OpenMissionForReading(std::string_view path, std::error_code& error);

}  // namespace bosquell
