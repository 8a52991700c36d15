#include "run/file_range_sink.h"

namespace bosquell {

void FileRangeSink::CopyFromInput(std::uint64_t inputOffset, std::string_view bytes) {
  if (rangeCopy_ != nullptr && bytes.size() >= kShortestRangeCopy && buffer_.Flush()) {
    // What the buffer held lies before the stretch in the file, so it goes out first.
    while (!bytes.empty()) {
      const std::ptrdiff_t copied = rangeCopy_(input_, inputOffset, output_, bytes.size());
      if (copied <= 0) {
        // Declined (another file system, a kind of file it cannot copy) or failed: the bytes
        // are at hand, and a real fault shows again, with its reason, when they are written.
        rangeCopy_ = nullptr;
        break;
      }
      inputOffset += static_cast<std::uint64_t>(copied);
      bytes.remove_prefix(static_cast<std::size_t>(copied));
    }
  }
  buffer_.Write(bytes);
}

}  // namespace bosquell
