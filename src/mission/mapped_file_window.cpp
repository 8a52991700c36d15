#include "mission/mapped_file_window.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace bosquell {

std::unique_ptr<MappedFileWindow> MappedFileWindow::Open(const std::filesystem::path& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat status {};
  const bool statusKnown = ::fstat(descriptor, &status) == 0;
  const int error = statusKnown ? 0 : errno;
  if (!statusKnown || !S_ISREG(status.st_mode)) {
    ::close(descriptor);  // only a regular file has a fixed size to map
    errno = error;
    return nullptr;
  }
  return std::unique_ptr<MappedFileWindow>(
      new MappedFileWindow(descriptor, static_cast<std::uint64_t>(status.st_size)));
}

MappedFileWindow::MappedFileWindow(int descriptor, std::uint64_t size)
    : descriptor_(descriptor), size_(size) {}

MappedFileWindow::~MappedFileWindow() {
  Unmap();
  ::close(descriptor_);
}

void MappedFileWindow::Unmap() {
  if (mapping_ != nullptr) ::munmap(mapping_, mappingLength_);
  mapping_ = nullptr;
  mappingLength_ = 0;
}

std::string_view MappedFileWindow::From(std::uint64_t offset) {
  Unmap();
  if (failed_ || offset >= size_) return {};
  // A file cut short after it was opened would fault where its bytes were: take its size again
  // and map no further than it now reaches.
  struct stat status {};
  if (::fstat(descriptor_, &status) != 0) {
    failed_ = true;
    return {};
  }
  size_ = std::min(size_, static_cast<std::uint64_t>(status.st_size));
  if (offset >= size_) return {};

  static const auto kPageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
  const std::uint64_t start = offset - offset % kPageSize;
  const auto length = static_cast<std::size_t>(
      std::min<std::uint64_t>(size_ - start, offset - start + kWindowSize));
  int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
  flags |= MAP_POPULATE;  // the whole window is read anyway: one call instead of many faults
#endif
  void* mapping = ::mmap(nullptr, length, PROT_READ, flags, descriptor_, static_cast<off_t>(start));
  if (mapping == MAP_FAILED) {
    failed_ = true;
    return {};
  }
  mapping_ = mapping;
  mappingLength_ = length;
  const auto skip = static_cast<std::size_t>(offset - start);
  return std::string_view(static_cast<const char*>(mapping) + skip, length - skip);
}

}  // namespace bosquell

#else

namespace bosquell {

std::unique_ptr<MappedFileWindow> MappedFileWindow::Open(const std::filesystem::path&) {
  return nullptr;
}
MappedFileWindow::MappedFileWindow(int descriptor, std::uint64_t size)
    : descriptor_(descriptor), size_(size) {}
MappedFileWindow::~MappedFileWindow() = default;
void MappedFileWindow::Unmap() {}
std::string_view MappedFileWindow::From(std::uint64_t) {
  return {};
}

}  // namespace bosquell

#endif
