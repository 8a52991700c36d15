#include "window_logic/preview_thread.h"

#include <exception>
#include <utility>

namespace bosquell {

PreviewThread::PreviewThread(std::function<void()> finished)
    : finished_(std::move(finished)), thread_([this](std::stop_token stop) { Run(stop); }) {}

PreviewThread::~PreviewThread() {
  thread_.request_stop();
  wake_.notify_all();
}

void PreviewThread::Submit(PreviewJob job) {
  {
    const std::lock_guard lock(mutex_);
    waiting_ = std::move(job);
  }
  wake_.notify_all();
}

std::optional<DrawnPreview> PreviewThread::TakeFinished() {
  const std::lock_guard lock(mutex_);
  return std::exchange(done_, std::nullopt);
}

void PreviewThread::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (wake_.wait(lock, stop, [this] { return waiting_.has_value(); })) {
    PreviewJob job = std::move(*waiting_);
    waiting_.reset();
    lock.unlock();
    std::optional<DrawnPreview> drawn;
    // A draw that fails leaves the map on its out-of-date preview; it never ends the program.
    try {
      drawn = job.draw();
      drawn->generation = job.generation;
    } catch (const std::exception&) {
      drawn.reset();
    }
    lock.lock();
    // A newer job makes this result out of date before anyone sees it.
    if (!drawn || waiting_ || stop.stop_requested()) continue;
    done_ = std::move(drawn);
    lock.unlock();
    finished_();
    lock.lock();
  }
}

}  // namespace bosquell
