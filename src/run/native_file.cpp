#include "run/platform_files.h"

// What a NativeFile does the same on every system; Close() is the system's own.

namespace bosquell {

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
  if (this != &other) {
    std::error_code ignored;
    Close(ignored);
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

NativeFile::~NativeFile() {
  std::error_code ignored;
  Close(ignored);
}

}  // namespace bosquell
