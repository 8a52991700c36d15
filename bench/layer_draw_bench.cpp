// Measures the layer draws against the main window's plain draw of the largest run.
// Run: build/release/bench/bosquell_layer_benchmarks [--benchmark_filter=...]
//
// The forest: a polygon of 1,000 corners about 1,000 user units across, less a road of 100
// points 6 user units wide that winds through it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "placement/compiled_layer.h"
#include "placement/layer_draw.h"
#include "placement/object_draw.h"

namespace bosquell {
namespace {

constexpr int kLargestRun = 32766;

PolygonArea Forest() {
  std::mt19937 engine(1);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<double> angles(1000);
  for (double& angle : angles) angle = unit(engine) * 6.283185307179586;
  std::sort(angles.begin(), angles.end());
  PolygonArea forest;
  for (const double angle : angles) {
    const double radius = 420 + 80 * unit(engine);
    forest.corners.push_back(
        {std::round(radius * std::cos(angle)), std::round(radius * std::sin(angle))});
  }
  return forest;
}

CorridorArea Road() {
  CorridorArea road{{}, 6};
  for (int i = 0; i < 100; ++i) {
    const double x = -500 + i * 10.1;
    road.points.push_back({x, std::round(120 * std::sin(x / 90))});
  }
  return road;
}

Layer ForestLayer(Pattern pattern) {
  Layer layer;
  layer.mix = WeightedMix{{{"1017", 3}, {"1134", 1}, {"4075", 0.5}}};
  layer.pattern = pattern;
  layer.count = kLargestRun;
  layer.areas = {{Forest(), false}, {Road(), true}};
  return layer;
}

void Run(benchmark::State& state, const Layer& layer) {
  const CompiledLayer compiled = CompileLayer(layer).value();
  std::size_t objects = 0;
  for (auto _ : state) {
    MersenneRandom random(7);
    const DrawnLayer drawn = DrawLayer(compiled, nullptr, {}, kLargestRun, random);
    objects = drawn.objects.size();
    benchmark::DoNotOptimize(drawn.objects.data());
  }
  state.counters["objects"] = static_cast<double>(objects);
}

// The main window's draw of the largest run, no rules: what a plain run draws.
void BM_PlainWindowDraw(benchmark::State& state) {
  const PlacementParameters placement = MakePlacement("0", "0", "1024", "1024").value();
  ThemeSlots slots;
  FillFromTheme(slots, "Jungel");
  for (auto _ : state) {
    MersenneRandom random(7);
    const DrawnObjects drawn =
        DrawObjects(placement, slots, TopSlot(slots), kLargestRun, {}, nullptr, random);
    benchmark::DoNotOptimize(drawn.objects.data());
  }
}
BENCHMARK(BM_PlainWindowDraw)->Unit(benchmark::kMillisecond);

// 32,766 of the full even fill at a spacing that fits about 34,000.
void BM_EvenCountInForest(benchmark::State& state) {
  Layer layer = ForestLayer(Pattern::kEven);
  layer.spacing = 3.5;
  Run(state, layer);
}
BENCHMARK(BM_EvenCountInForest)->Unit(benchmark::kMillisecond);

// As many as fit at a spacing that fits about 32,000.
void BM_EvenFillOfForest(benchmark::State& state) {
  Layer layer = ForestLayer(Pattern::kEven);
  layer.spacing = 3.6;
  layer.fill = true;
  Run(state, layer);
}
BENCHMARK(BM_EvenFillOfForest)->Unit(benchmark::kMillisecond);

void BM_UniformInForest(benchmark::State& state) {
  Run(state, ForestLayer(Pattern::kUniform));
}
BENCHMARK(BM_UniformInForest)->Unit(benchmark::kMillisecond);

void BM_ClumpedInForest(benchmark::State& state) {
  Layer layer = ForestLayer(Pattern::kClumped);
  layer.clumps = 40;
  layer.clumpRadius = 60;
  layer.spacing = 1;
  Run(state, layer);
}
BENCHMARK(BM_ClumpedInForest)->Unit(benchmark::kMillisecond);

// Building the layer: its shapes in map units and the grid over them.
void BM_CompileForest(benchmark::State& state) {
  const Layer layer = ForestLayer(Pattern::kUniform);
  for (auto _ : state) {
    const std::optional<CompiledLayer> compiled = CompileLayer(layer);
    if (!compiled) state.SkipWithError("the forest does not compile");
    benchmark::DoNotOptimize(compiled->area.SizeEstimate());
  }
}
BENCHMARK(BM_CompileForest)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bosquell
