#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "run/file_range_copy.h"

namespace bosquell {

std::ptrdiff_t CopyFileRange(const NativeFile& input, std::uint64_t inputOffset,
                             const NativeFile& output, std::size_t size) {
#ifdef __linux__
  auto offset = static_cast<off_t>(inputOffset);
  for (;;) {
    const ssize_t copied = ::copy_file_range(static_cast<int>(input.Handle()), &offset,
                                             static_cast<int>(output.Handle()), nullptr, size, 0);
    if (copied < 0 && errno == EINTR) continue;
    return copied;
  }
#else
  static_cast<void>(input), static_cast<void>(inputOffset), static_cast<void>(output);
  static_cast<void>(size);
  return 0;
#endif
}

}  // namespace bosquell
