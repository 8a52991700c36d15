#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>
#include <vector>

#include "files/platform_files.h"

namespace bosquell {

// Reads an open file for a decoder that asks for a few bytes at a time, through a buffer of its
// own so that small reads do not each become a call to the system. It notes whether the decoder
// ever asked for bytes beyond the end, which is how a file cut short shows when its format keeps
// no length of its own.
class PictureFileReader {
 public:
  explicit PictureFileReader(const NativeFile& file);

  // Copies up to `size` bytes; fewer only at the end of the file or after a failed read.
  std::size_t Read(char* data, std::size_t size);
  void Skip(std::uint64_t count);
  // True when no byte is left.
  bool AtEnd();
  // Starts over from the first byte.
  bool Restart();

  bool WentPastEnd() const { return wentPastEnd_; }
  // Why a read failed; empty when none did.
  const std::error_code& Error() const { return error_; }

 private:
  // Refills the empty buffer; false at the end of the file or on a failure.
  bool Fill();

  const NativeFile& file_;
  std::vector<char> buffer_;
  std::size_t next_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool wentPastEnd_ = false;
  std::error_code error_;
};

}  // namespace bosquell
