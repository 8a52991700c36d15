#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace bosquell {

// Works through batches of bytes on a thread of its own while the caller fills the next batch:
// one batch is in its hands at a time, so two buffers used in turns are enough for the caller.
// Without a thread to be had (the system's limit is reached), each batch is worked on at once on
// the caller's thread. Once the work has failed, later batches are refused.
class BatchWorker {
 public:
  // `work` takes a batch and the number of items in it, and tells whether it succeeded.
  using Work = std::function<bool(const std::uint8_t* batch, std::size_t count)>;

  explicit BatchWorker(Work work);
  BatchWorker(const BatchWorker&) = delete;
  BatchWorker& operator=(const BatchWorker&) = delete;
  // Waits for the batch in hand: its buffer is the caller's.
  ~BatchWorker();

  // Waits until the batch handed before is done, then hands this one over; false once the work
  // has failed. The batch must stay unchanged until the next call.
  bool Hand(const std::uint8_t* batch, std::size_t count);
  // Waits until every batch is done; false when the work failed on any.
  bool Finish();

 private:
  void Run();

  Work work_;
  std::mutex mutex_;
  std::condition_variable changed_;
  const std::uint8_t* handed_ = nullptr;  // the batch in hand, until it is done
  std::size_t count_ = 0;
  bool stopping_ = false;
  bool failed_ = false;
  std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace bosquell
