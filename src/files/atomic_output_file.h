#pragma once

#include <filesystem>
#include <streambuf>
#include <system_error>

#include "files/background_write_buffer.h"
#include "files/file_buffers.h"
#include "files/platform_files.h"

namespace bosquell {

// An output file that appears whole or not at all, also across a power loss: the bytes go to a
// temporary file in the target's folder (on Linux an anonymous one), which is flushed to disk
// and then renamed over the target. Destroyed without a successful Commit(), it removes the
// temporary file and leaves the target as it was; an interrupt removes it too.
//
// The target must be nothing yet, a symbolic link (the link itself is replaced) or a writable
// regular file, whose permission bits the new file keeps.
class AtomicOutputFile {
 public:
  explicit AtomicOutputFile(std::filesystem::path target,
                            const PublishCalls& calls = SystemPublishCalls());
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;
  ~AtomicOutputFile();

  // Checks the target, removes temporaries that dead runs left beside it, and creates the
  // temporary file. On failure `error` says why.
  bool Open(std::error_code& error);
  // Written from a thread of its own: pubsync() waits until the bytes are in the file.
  std::streambuf& Buffer() { return buffer_; }
  // Why the first failed write through Buffer() failed; empty when none did. Known once
  // Buffer() has been synced.
  const std::error_code& WriteError() const { return file_.Error(); }
  // Flushes the temporary file to disk and moves it over the target.
  bool Commit(std::error_code& error);

 private:
  std::filesystem::path target_;
  const PublishCalls& calls_;
  TemporaryFile temporary_;
  FileWriteBuffer file_;
  BackgroundWriteBuffer buffer_{file_};
  bool committed_ = false;
};

}  // namespace bosquell
