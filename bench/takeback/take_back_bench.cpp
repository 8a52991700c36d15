// Times taking a run back against making it, in process, on the same mission: the run adds
// `count` objects to MISSION (theme Jungel, seed 1, the default area), and the take-back draws
// them again and writes the run's output without them, through the same file machinery a run
// uses (the mission read twice, the output written from a thread and put in place whole). The
// two take turns, round after round; medians of wall-clock and processor time. With "lf" the
// run's output is first saved with LF line ends, as an editor may save it.
//
// Usage: bosquell_take_back_bench MISSION [rounds] [count] [lf]
// bench/takeback/take_back.sh makes the missions and runs it.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "files/atomic_output_file.h"
#include "files/file_buffers.h"
#include "files/mission_file.h"
#include "mission/output_buffer.h"
#include "placement/recipe_draw.h"
#include "placement/random_source.h"
#include "run/add_objects_run.h"
#include "takeback/take_back.h"

namespace bosquell {
namespace {

namespace fs = std::filesystem;

struct Times {
  double wallMs = 0;
  double processorMs = 0;
};

template <typename Work>
Times Measure(Work work) {
  const auto wallStart = std::chrono::steady_clock::now();
  const std::clock_t processorStart = std::clock();
  work();
  const std::clock_t processorStop = std::clock();
  const auto wallStop = std::chrono::steady_clock::now();
  return {std::chrono::duration<double, std::milli>(wallStop - wallStart).count(),
          1000.0 * static_cast<double>(processorStop - processorStart) / CLOCKS_PER_SEC};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

AddObjectsRequest RunRequest(const fs::path& mission, const fs::path& output, int count) {
  Layer layer;
  layer.mix = ThemeMix{"Jungel"};
  layer.count = count;
  layer.areas.push_back({RectangleArea{{0, 0}, {1024, 1024}}});
  AddObjectsRequest request;
  request.recipe.layers.push_back(std::move(layer));
  request.missionPath = mission.string();
  request.outputPath = output.string();
  return request;
}

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::exit(1);
}

// Wall-clock milliseconds of the take-back's steps, one entry a round.
struct Steps {
  std::vector<double> draw, find, write;
};

double Since(std::chrono::steady_clock::time_point& start) {
  const auto now = std::chrono::steady_clock::now();
  const double ms = std::chrono::duration<double, std::milli>(now - start).count();
  start = now;
  return ms;
}

// What taking the run back costs: drawing its objects again, finding their records, and writing
// the mission without them.
RunRecords TakeBack(const AddObjectsRequest& request, const fs::path& runOutput,
                    const fs::path& output, Steps& steps) {
  auto start = std::chrono::steady_clock::now();
  MersenneRandom random(1);
  random.StartRun();
  const auto layers = CompileLayers(request.recipe.layers);
  if (!std::holds_alternative<std::vector<CompiledLayer>>(layers)) Fail("cannot compile the run");
  const DrawnLayers drawn = DrawLayers(std::get<std::vector<CompiledLayer>>(layers), nullptr,
                                       kMaxObjectCount, random);
  steps.draw.push_back(Since(start));
  std::error_code error;
  NativeFile mission = OpenMissionForReading(runOutput.string(), error);
  if (!mission.IsOpen()) Fail("cannot open the run's output");
  RunRecords records;
  {
    FileReadBuffer bytes(mission);
    records = FindRunRecords(bytes, drawn.objects);
  }
  steps.find.push_back(Since(start));
  if (!Rewind(mission, error)) Fail("cannot rewind");
  AtomicOutputFile file(output);
  if (!file.Open(error)) Fail("cannot create the output");
  {
    OutputBuffer buffer(file.Buffer());
    FileReadBuffer bytes(mission);
    WriteWithoutRunRecords(bytes, buffer, records);
    if (!buffer.Flush()) Fail("cannot write the output");
  }
  if (!file.Commit(error)) Fail("cannot save the output");
  steps.write.push_back(Since(start));
  return records;
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Save(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) Fail("cannot write a file");
}

// The text with every CR LF made an LF.
std::string WithLineFeeds(const std::string& text) {
  std::string converted;
  converted.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') converted += text[i];
  }
  return converted;
}

int Main(int argc, char** argv) {
  if (argc < 2) Fail("usage: bosquell_take_back_bench MISSION [rounds] [count]");
  const fs::path mission = argv[1];
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
  const int count = argc > 3 ? std::atoi(argv[3]) : 32766;
  const bool lineFeeds = argc > 4 && std::string(argv[4]) == "lf";
  const fs::path dir = mission.parent_path();
  const fs::path runOutput = dir / "take_back_run.mis";
  const fs::path edited = dir / "take_back_edited.mis";
  const fs::path backOutput = dir / "take_back_back.mis";
  const AddObjectsRequest request = RunRequest(mission, runOutput, count);
  {
    MersenneRandom random(1);
    random.StartRun();
    if (AddObjects(request, random).status != AddObjectsResult::Status::kWritten) {
      Fail("the run failed");
    }
    const std::string output = Contents(runOutput);
    Save(edited, lineFeeds ? WithLineFeeds(output) : output);
  }

  std::vector<double> runWall, runProcessor, backWall, backProcessor;
  RunRecords records;
  Steps steps;
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((round + turn) % 2 == 0) {
        const Times times = Measure([&] {
          MersenneRandom random(1);
          random.StartRun();
          if (AddObjects(request, random).status != AddObjectsResult::Status::kWritten) {
            Fail("the run failed");
          }
        });
        runWall.push_back(times.wallMs);
        runProcessor.push_back(times.processorMs);
      } else {
        const Times times =
            Measure([&] { records = TakeBack(request, edited, backOutput, steps); });
        backWall.push_back(times.wallMs);
        backProcessor.push_back(times.processorMs);
      }
    }
  }
  const std::string expected = Contents(mission);
  if (Contents(backOutput) != (lineFeeds ? WithLineFeeds(expected) : expected)) {
    Fail("taking the run back did not give back the mission");
  }
  std::printf("%s%s, %.1f MB, %d objects, %zu removed; medians of %zu rounds\n",
              mission.filename().string().c_str(), lineFeeds ? " saved with LF" : "",
              static_cast<double>(fs::file_size(mission)) / 1e6, count, records.removed,
              backWall.size());
  std::printf("  wall clock: run %8.2f ms  take back %8.2f ms  ratio %.2f\n", Median(runWall),
              Median(backWall), Median(backWall) / Median(runWall));
  std::printf("  processor:  run %8.2f ms  take back %8.2f ms  ratio %.2f\n", Median(runProcessor),
              Median(backProcessor), Median(backProcessor) / Median(runProcessor));
  std::printf("  take back:  draw %.2f ms, find %.2f ms, write %.2f ms\n", Median(steps.draw),
              Median(steps.find), Median(steps.write));
  fs::remove(runOutput);
  fs::remove(edited);
  fs::remove(backOutput);
  return 0;
}

}  // namespace
}  // namespace bosquell

int main(int argc, char** argv) {
  return bosquell::Main(argc, argv);
}
