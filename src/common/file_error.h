#pragma once

#include <system_error>
#include <type_traits>

namespace bosquell {

// Reasons a file is refused that the operating system does not name by itself.
enum class FileError {
  kDirectory = 1,         // a folder where a file was expected
  kNotRegularFile,        // a device, a pipe or a socket
  kReadOnly,              // an output that a plain overwrite would not be allowed to change
  kOpenInAnotherProgram,  // Windows: another program holds the file open
  kNoTemporaryName,       // every temporary name tried was taken
};

const std::error_category& FileErrorCategory();
std::error_code make_error_code(FileError error);

}  // namespace bosquell

template <>
struct std::is_error_code_enum<bosquell::FileError> : std::true_type {};
