#pragma once

#include <cstdint>
#include <streambuf>
#include <system_error>

#include "files/platform_files.h"

namespace bosquell {

// Hands a file's bytes to a stream reader in the sizes it asks for, straight from the system.
// A failed read throws, as a file stream buffer does, after keeping the system's reason.
class FileReadBuffer final : public std::streambuf {
 public:
  explicit FileReadBuffer(const NativeFile& file) : file_(file) {}
  // Why the last read failed; empty when none did.
  const std::error_code& Error() const { return error_; }

 protected:
  std::streamsize xsgetn(char* data, std::streamsize size) override;
  int_type underflow() override;

 private:
  const NativeFile& file_;
  std::error_code error_;
  char single_ = 0;
};

// Passes a stream writer's bytes straight to the system (the caller collects them in large
// pieces first). A failed write is reported by a short count, with the system's reason kept.
// Every few megabytes it asks the system to start writing them to disk, so that the disk works
// while the rest is still being produced.
class FileWriteBuffer final : public std::streambuf {
 public:
  FileWriteBuffer() = default;
  void Attach(const NativeFile& file) { file_ = &file; }
  // Why the first failed write failed; empty when none did.
  const std::error_code& Error() const { return error_; }

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int_type overflow(int_type byte) override;

 private:
  const NativeFile* file_ = nullptr;
  std::error_code error_;
  std::uint64_t written_ = 0;
  std::uint64_t writebackFrom_ = 0;  // the first byte not yet handed to StartWriteback
};

}  // namespace bosquell
