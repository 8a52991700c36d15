// The preview's drawing thread: the newest job wins, and a draw overtaken while under way is
// dropped before anyone is told.

#include "window_logic/preview_thread.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace bosquell::testing {
namespace {

TEST(PreviewThreadTest, OnlyTheNewestJobIsDrawnAndHandedOver) {
  std::mutex mutex;
  std::condition_variable changed;
  bool firstStarted = false;
  bool releaseFirst = false;
  int finishedCalls = 0;
  std::vector<std::uint64_t> drawn;
  PreviewThread thread([&] {
    const std::lock_guard lock(mutex);
    ++finishedCalls;
    changed.notify_all();
  });
  const auto job = [&](std::uint64_t generation) {
    return PreviewJob{generation, [&, generation] {
                        std::unique_lock lock(mutex);
                        drawn.push_back(generation);
                        firstStarted = true;
                        changed.notify_all();
                        if (generation == 1) changed.wait(lock, [&] { return releaseFirst; });
                        return DrawnPreview{};
                      }};
  };
  thread.Submit(job(1));
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return firstStarted; });
  }
  thread.Submit(job(2));  // replaced before it starts
  thread.Submit(job(3));
  {
    std::unique_lock lock(mutex);
    releaseFirst = true;
    changed.notify_all();
    changed.wait(lock, [&] { return finishedCalls == 1; });
  }
  EXPECT_EQ(drawn, (std::vector<std::uint64_t>{1, 3}));
  const std::optional<DrawnPreview> finished = thread.TakeFinished();
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->generation, 3u);
  EXPECT_FALSE(thread.TakeFinished());
}

}  // namespace
}  // namespace bosquell::testing
