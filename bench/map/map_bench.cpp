// The map window's model on the largest missions: the first picture after opening a mission of
// 1.5 million objects, and a redraw after a pan, a zoom or a keystroke with 32,766 new objects.
// Run: build/release/bench/bosquell_map_benchmarks [--benchmark_filter=...]
// The mission lives in the system's temporary folder and is removed at the end.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "bench_views.h"
#include "window_logic/map_logic.h"

namespace bosquell {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 1500000;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The benchmark missions' shape: short item records, positions over the default area.
const fs::path& Mission() {
  static const fs::path path = [] {
    const fs::path file = fs::temp_directory_path() / "bosquell-map-bench.mis";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "begin objects\r\n  num_items " << kRecords << "\r\nend objects\r\n\r\n";
    std::mt19937 engine(1);
    std::uniform_int_distribution<int> at(-262144, 262143);
    for (int i = 0; i < kRecords; ++i) {
      out << "begin item " << i << "\r\n  id " << i + 1 << "\r\n  position " << at(engine) << ' '
          << at(engine) << " 0\r\nend item\r\n\r\n";
    }
    return file;
  }();
  return path;
}

struct RemoveMission {
  ~RemoveMission() {
    std::error_code ignored;
    fs::remove(fs::temp_directory_path() / "bosquell-map-bench.mis", ignored);
  }
} removeMission;

void ReportPeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

// Opening the map on the mission: both reads of its objects, the preview's draws, the scene.
void BM_FirstPicture(benchmark::State& state) {
  const std::string mission = Mission().string();
  for (auto _ : state) {
    TextsOnly form;
    NoWindow view;
    MapLogic map(form, view, [] { return 7u; });
    map.MissionChanged(mission);
    map.Show();
    benchmark::DoNotOptimize(map.Scene(kWidth, kHeight).pixels.data());
  }
  ReportPeakMemory(state);
}
BENCHMARK(BM_FirstPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

// One redraw after each kind of event, on an open map showing all objects.
void Redraw(benchmark::State& state, const std::function<void(MapLogic&)>& event) {
  TextsOnly form;
  NoWindow view;
  MapLogic map(form, view, [] { return 7u; });
  map.MissionChanged(Mission().string());
  map.Show();
  map.Scene(kWidth, kHeight);
  for (auto _ : state) {
    event(map);
    benchmark::DoNotOptimize(map.Scene(kWidth, kHeight).pixels.data());
  }
  ReportPeakMemory(state);
}
void BM_RedrawAfterPan(benchmark::State& state) {
  // A right-button drag, 3 by 2 pixels a step.
  double step = 0;
  Redraw(state, [&step](MapLogic& map) {
    if (step == 0) map.ButtonDown(MapButton::kRight, {300, 200});
    ++step;
    map.PointerMoved({300 + 3 * step, 200 + 2 * step});
  });
}
void BM_RedrawAfterZoom(benchmark::State& state) {
  int step = 0;
  Redraw(state, [&step](MapLogic& map) { map.Wheel({300, 200}, ++step % 2 == 0 ? 1 : -1); });
}
// A keystroke in a box the run reads draws the preview anew.
void BM_RedrawAfterKeystroke(benchmark::State& state) {
  Redraw(state, [](MapLogic& map) { map.InputsChanged(); });
}
BENCHMARK(BM_RedrawAfterPan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawAfterZoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawAfterKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bosquell
