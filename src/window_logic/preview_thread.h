#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "window_logic/preview_executor.h"

namespace bosquell {

// Draws previews on a thread of its own, so that typing and dragging in the map never wait for
// them. A draw under way is not interrupted, but its result is dropped when a newer job came
// in meanwhile. `finished` is called on the drawing thread after each kept result: the window
// passes it to its own thread (a queued call, a posted message), which then calls
// MapLogic::PreviewFinished.
class PreviewThread final : public PreviewExecutor {
 public:
  explicit PreviewThread(std::function<void()> finished);
  // Waits for the draw under way, if any; a job still waiting is dropped.
  ~PreviewThread() override;
  PreviewThread(const PreviewThread&) = delete;
  PreviewThread& operator=(const PreviewThread&) = delete;

  void Submit(PreviewJob job) override;
  std::optional<DrawnPreview> TakeFinished() override;

 private:
  void Run(std::stop_token stop);

  std::function<void()> finished_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::optional<PreviewJob> waiting_;
  std::optional<DrawnPreview> done_;
  std::jthread thread_;  // last: it starts once the rest is ready, and stops first
};

}  // namespace bosquell
