#include <filesystem>

#include "files/interrupt_cleanup.h"
#include "files/platform_files.h"

// What the file layer does the same on every system; the system calls are in
// platform_files_posix.cpp and platform_files_windows.cpp.

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

bool PublishTemporary(TemporaryFile& temporary, const std::filesystem::path& target,
                      const PublishCalls& calls, std::error_code& error) {
  bool published = calls.FlushFile(temporary.file, error);
  if (published && temporary.name.empty()) published = NameAnonymousFile(temporary, target, error);
  if (published) published = temporary.file.Close(error);
  if (published) published = calls.Replace(temporary.name, target, error);
  if (!published) {
    DiscardTemporary(temporary);
    return false;
  }
  temporary.ForgetName();
  calls.FlushFolderOf(target);
  return true;
}

void DiscardTemporary(TemporaryFile& temporary) {
  std::error_code ignored;
  temporary.file.Close(ignored);
  if (!temporary.name.empty()) std::filesystem::remove(temporary.name, ignored);
  temporary.ForgetName();
}

void TemporaryFile::ForgetName() {
  ReleaseInterruptRemoval(interruptSlot);
  interruptSlot = -1;
  name.clear();
}

}  // namespace bosquell
