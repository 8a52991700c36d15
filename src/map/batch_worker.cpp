#include "map/batch_worker.h"

#include <exception>
#include <system_error>
#include <utility>

namespace bosquell {

BatchWorker::BatchWorker(Work work) : work_(std::move(work)) {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // Every batch is then worked on in Hand.
  }
}

BatchWorker::~BatchWorker() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool BatchWorker::Hand(const std::uint8_t* batch, std::size_t count) {
  if (!thread_.joinable()) {
    if (!failed_ && !work_(batch, count)) failed_ = true;
    return !failed_;
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return handed_ == nullptr; });
  if (failed_) return false;
  handed_ = batch;
  count_ = count;
  changed_.notify_all();
  return true;
}

bool BatchWorker::Finish() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return handed_ == nullptr; });
  return !failed_;
}

void BatchWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    // A batch handed over before the stop is still worked on: its rows are awaited.
    changed_.wait(lock, [this] { return handed_ != nullptr || stopping_; });
    if (handed_ == nullptr) return;
    const std::uint8_t* batch = handed_;
    const std::size_t count = count_;
    lock.unlock();
    bool done = false;
    try {
      done = work_(batch, count);
    } catch (const std::exception&) {
      // Counts as failed work: nothing may leave the thread.
    }
    lock.lock();
    if (!done) failed_ = true;
    handed_ = nullptr;
    changed_.notify_all();
  }
}

}  // namespace bosquell
