// The map's drawn recipe on a large mission: what moving a corner costs the window's thread (the
// shapes drawn again at each step, then the release that asks for a new preview), and how long
// after the release the preview of the new recipe is ready on its thread. The window's thread
// is measured in its processor time, the preview's wait in wall-clock time.
// Run: bench/map/preview.sh, or build/release/bench/bosquell_preview_bench MISSION [rounds]

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <time.h>

#include "bench_views.h"
#include "window_logic/map_logic.h"
#include "window_logic/preview_thread.h"
#include "window_logic/shape_geometry.h"

namespace bosquell {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Tells when the preview thread has handed over a preview, as a window's message loop would.
struct Handover {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;

  void Finished() {
    const std::lock_guard lock(mutex);
    finished = true;
    done.notify_all();
  }
  void Wait() {
    std::unique_lock lock(mutex);
    done.wait(lock, [this] { return finished; });
    finished = false;
  }
};

double Milliseconds(Clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

// The processor time of the calling thread: what the window's thread spends, whatever else the
// machine runs meanwhile.
double ThreadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

PixelPoint Pixel(const MapLogic& map, UserPoint at) {
  return map.Viewport().ToPixel(ToMapPoint(at));
}

// Waits until the preview of the newest inputs is handed over and shown; previews of older
// inputs handed over meanwhile are dropped by the map.
void Settle(MapLogic& map, Handover& handover) {
  while (!map.PreviewCurrent()) {
    handover.Wait();
    map.PreviewFinished();
  }
}

// A square forest drawn with the polygon tool in place of the boxes' rectangle, selected.
void DrawSquare(MapLogic& map, Handover& handover) {
  map.SetTool(ShapeTool::kPolygon);
  for (const UserPoint corner : {UserPoint{-900, -900}, {900, -900}, {900, 900}}) {
    map.ButtonDown(MapButton::kLeft, Pixel(map, corner));
    map.ButtonUp(MapButton::kLeft, Pixel(map, corner));
  }
  map.DoubleClick(Pixel(map, {-900, 900}));
  map.Document().Editor().Select(0);
  map.KeyPressed(MapKey::kDelete, false, false);
  map.SetTool(ShapeTool::kSelect);
  map.Document().Editor().Select(0);
  Settle(map, handover);
}

void Measure(const std::string& mission, int rounds, const std::string& keepClear) {
  TextsOnly form;
  NoWindow view;
  MapLogic map(form, view, [] { return 7u; });
  Handover handover;
  map.UsePreviewExecutor(std::make_unique<PreviewThread>([&] { handover.Finished(); }));
  map.KeepClearEdited(keepClear);
  map.MissionChanged(mission);
  map.Show();
  Settle(map, handover);
  map.Scene(kWidth, kHeight);
  DrawSquare(map, handover);
  map.Scene(kWidth, kHeight);

  std::vector<double> steps;
  std::vector<double> releases;
  std::vector<double> previews;
  for (int round = 0; round < rounds; ++round) {
    // The top right corner dragged out and in again by 40 pixels, 4 at a time.
    const double shift = round % 2 == 0 ? 40 : -40;
    const UserPoint corner = round % 2 == 0 ? UserPoint{900, 900} : UserPoint{1000, 1000};
    PixelPoint at = Pixel(map, corner);
    map.ButtonDown(MapButton::kLeft, at);
    for (int step = 0; step < 10; ++step) {
      at = {at.x + shift / 10, at.y - shift / 10};
      const double start = ThreadMilliseconds();
      map.PointerMoved(at);
      map.Scene(kWidth, kHeight);
      steps.push_back(ThreadMilliseconds() - start);
    }
    const Clock::time_point release = Clock::now();
    const double releaseWork = ThreadMilliseconds();
    map.ButtonUp(MapButton::kLeft,
                 Pixel(map, round % 2 == 0 ? UserPoint{1000, 1000} : UserPoint{900, 900}));
    map.Scene(kWidth, kHeight);
    releases.push_back(ThreadMilliseconds() - releaseWork);
    Settle(map, handover);
    map.Scene(kWidth, kHeight);
    previews.push_back(Milliseconds(Clock::now() - release));
    if (!map.PreviewCurrent() || map.Preview().objects.size() != 32766) {
      std::fprintf(stderr, "the preview is not of the moved corner: %s\n", map.Problem().c_str());
      return;
    }
  }
  std::printf(
      "keep clear %-3s  corner step, shapes redrawn: %6.2f ms   release: %6.2f ms   "
      "preview ready after release: %7.2f ms\n",
      keepClear.empty() ? "off" : keepClear.c_str(), Median(steps), Median(releases),
      Median(previews));
}

}  // namespace
}  // namespace bosquell

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s MISSION [rounds]\n", argv[0]);
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
  bosquell::Measure(argv[1], rounds, "");
  bosquell::Measure(argv[1], rounds, "0.5");
  return 0;
}
