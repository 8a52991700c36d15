#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <streambuf>
#include <thread>
#include <vector>

namespace bosquell {

// Passes bytes on to another stream buffer from a thread of its own, so that the system's
// writes overlap the work of producing the next bytes. The first `directBytes` go straight to
// the target on the caller's thread: for small output a thread and its blocks cost more than
// they save. After that the bytes are copied into a few large blocks, and each full block goes
// to the writing thread, which starts with the first of them.
//
// pubsync() waits until everything has been passed on, then flushes the target; it fails (and
// later writes are refused) once any write to the target has come back short. Bytes not yet
// flushed when the buffer is destroyed are dropped.
class BackgroundWriteBuffer final : public std::streambuf {
 public:
  explicit BackgroundWriteBuffer(std::streambuf& target,
                                 std::uint64_t directBytes = 4 * 1024 * 1024,
                                 std::size_t blockSize = 256 * 1024, std::size_t blockCount = 4);
  BackgroundWriteBuffer(const BackgroundWriteBuffer&) = delete;
  BackgroundWriteBuffer& operator=(const BackgroundWriteBuffer&) = delete;
  ~BackgroundWriteBuffer() override { Stop(); }

  // Ends the writing thread once its current write returns; bytes not yet passed on are dropped
  // and later writes refused.
  void Stop();

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int_type overflow(int_type byte) override;
  int sync() override;

 private:
  struct Filled {
    std::size_t block;
    std::size_t size;
  };

  // Hands the block being filled to the writing thread and takes a free one.
  void Submit();
  // Waits until the writing thread has passed on every block handed to it.
  void WaitUntilWritten();
  void WriteBlocks();
  // Writes one block to the target; false when the target took less than all of it.
  bool WriteToTarget(std::size_t block, std::size_t size);

  std::streambuf& target_;
  std::uint64_t directBytes_;  // what may still go straight to the target
  const std::size_t blockSize_;
  std::vector<std::unique_ptr<char[]>> blocks_;  // allocated as needed, left uninitialised
  std::size_t current_ = 0;                      // the block being filled
  std::size_t used_ = 0;                         // bytes in it

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Filled> filled_;  // blocks waiting for the writing thread, in order
  std::vector<std::size_t> free_;
  bool writing_ = false;  // the writing thread holds a block
  bool stopping_ = false;
  bool failed_ = false;
  std::thread writer_;
};

}  // namespace bosquell
