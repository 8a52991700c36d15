// Measures the checks a recipe's polygon goes through, on the outlines they are quick for and on
// the stacked long edges that cost them most, and the reading of a recipe at the size limits.
// Run: build/release/bench/bosquell_recipe_benchmarks [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "placement/polygon_checks.h"
#include "recipe/recipe_areas.h"
#include "recipe/recipe_file.h"
#include "recipe/recipe_reader.h"

namespace bosquell {
namespace {

// An outline as a map gives one: a ring of whole-unit corners, a little uneven.
std::vector<MapPoint> Outline(int corners) {
  std::vector<MapPoint> outline;
  for (int i = 0; i < corners; ++i) {
    const double angle = 6.283185307179586 * i / corners;
    const double radius = 1e6 + (i % 7) * 300;
    outline.push_back({std::round(radius * std::cos(angle)), std::round(radius * std::sin(angle))});
  }
  return outline;
}

// The costliest shape for the sweep: long edges stacked one above the other, all overlapping
// in x, joined up and down at their ends like a meander.
std::vector<MapPoint> Meander(int corners) {
  std::vector<MapPoint> meander;
  const int rows = (corners / 2 - 1) / 2 * 2;  // even: the last row runs west, to the way back
  for (int row = 0; row < rows; ++row) {
    const bool eastward = row % 2 == 0;
    meander.push_back({eastward ? 0.0 : 1e6, static_cast<double>(row)});
    meander.push_back({eastward ? 1e6 : 0.0, static_cast<double>(row)});
  }
  meander.push_back({-1, static_cast<double>(rows - 1)});
  meander.push_back({-1, -1});
  return meander;
}

void BM_CrossingOutline(benchmark::State& state) {
  const std::vector<MapPoint> corners = Outline(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindEdgeCrossing(corners));
}

void BM_CrossingMeander(benchmark::State& state) {
  const std::vector<MapPoint> corners = Meander(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindEdgeCrossing(corners));
}

std::string PolygonRecipe(const std::vector<MapPoint>& corners) {
  std::string text = "[[layer]]\nmix = \"Jungel\"\ncount = 1\n[[layer.area]]\npolygon = [";
  for (const MapPoint& corner : corners) {
    text += "[" + std::to_string(static_cast<long long>(corner.x)) + ", " +
            std::to_string(static_cast<long long>(corner.y)) + "], ";
  }
  return text + "]\n";
}

// The largest polygon a recipe may hold, in its costliest shape, read and checked as a whole
// recipe. (The corners are whole user units.)
void BM_ReadLargestMeander(benchmark::State& state) {
  const std::string text = PolygonRecipe(Meander(recipe_fields::kMaxPolygonCorners));
  if (!std::holds_alternative<Recipe>(ParseRecipe(text, "bench.toml"))) {
    state.SkipWithError("the meander was refused");
  }
  for (auto _ : state) benchmark::DoNotOptimize(ParseRecipe(text, "bench.toml"));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// A file at the size limit full of the shortest points, the most nodes the parser can meet: it
// is refused for its corners, after being parsed whole.
void BM_ReadLargestFile(benchmark::State& state) {
  std::string text = "[[layer]]\nmix = \"Jungel\"\ncount = 1\n[[layer.area]]\npolygon = [";
  while (text.size() + 8 < kMaxRecipeFileBytes) text += "[1,2],";
  text += "]\n";
  for (auto _ : state) benchmark::DoNotOptimize(ParseRecipe(text, "bench.toml"));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_CrossingOutline)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossingMeander)->Arg(1000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLargestMeander)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLargestFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bosquell
