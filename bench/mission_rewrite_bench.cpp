// Measures the copy pass and the block writer against a plain buffered copy of the same bytes.
// Run: build/release/bench/bosquell_benchmarks [--benchmark_filter=...]
// The files live in the system's temporary folder and are removed at the end.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mission/input_window.h"
#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "mission/output_sink.h"

namespace bosquell {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMissionBytes = 100 * 1000 * 1000;
constexpr int kBlockCount = 32766;

// A mission of item records, about 100 MB, made once for all benchmarks.
class Files {
 public:
  Files() : dir_(fs::temp_directory_path() / "bosquell-bench") {
    fs::create_directories(dir_);
    std::ofstream out(Mission(), std::ios::binary | std::ios::trunc);
    out << "begin objects\r\n  num_items 0\r\nend objects\r\n\r\n";
    std::size_t written = 0;
    for (int id = 1; written < kMissionBytes; ++id) {
      const std::string record =
          "begin item " + std::to_string(id - 1) + "\r\n  id " + std::to_string(id) +
          "\r\n  type_id 1055\r\n  position " + std::to_string(id * 37 % 500000 - 250000) + " " +
          std::to_string(id * 91 % 500000 - 250000) +
          " 0\r\n  facing 90 0\r\n  wpdistance 4\r\n  fov 180\r\n  obliqueness 15\r\n"
          "  waccuracy2 100\r\n  perception2 100\r\n  perfectionist2 100\r\n  movetimer 3\r\n"
          "  crouchtimer 3\r\n  shoottimer 5\r\n  attention 30\r\n  advancetimer 10\r\n"
          "  edistances 16 1024\r\nend item\r\n\r\n";
      out << record;
      written += record.size();
    }
  }
  ~Files() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path Mission() const { return dir_ / "big.mis"; }
  fs::path Output() const { return dir_ / "big_rnd.mis"; }

 private:
  fs::path dir_;
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

void PlainCopy(const fs::path& from, const fs::path& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  std::vector<char> buffer(256 * 1024);
  while (const auto got =
             in.rdbuf()->sgetn(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
    if (got <= 0) break;
    out.rdbuf()->sputn(buffer.data(), got);
  }
}

void BM_PlainCopy(benchmark::State& state) {
  const Files& files = TheFiles();
  for (auto _ : state) PlainCopy(files.Mission(), files.Output());
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(fs::file_size(files.Mission())));
}

void BM_CopyPass(benchmark::State& state) {
  const Files& files = TheFiles();
  for (auto _ : state) {
    std::ifstream in(files.Mission(), std::ios::binary);
    std::ofstream out(files.Output(), std::ios::binary | std::ios::trunc);
    OutputBuffer output(*out.rdbuf());
    benchmark::DoNotOptimize(CopyPass(*in.rdbuf(), output, 20));
    output.Flush();
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(fs::file_size(files.Mission())));
}

// The copy pass's own work: the mission already in memory, the output thrown away.
class DiscardingSink final : public OutputSink {
 public:
  void Write(std::string_view bytes) override { benchmark::DoNotOptimize(bytes.data()); }
  bool Failed() const override { return false; }
};

// The mission in memory, shown 256 KB at a time as a read would bring it.
class MemoryWindow final : public InputWindow {
 public:
  explicit MemoryWindow(std::string_view bytes) : bytes_(bytes) {}
  std::string_view From(std::uint64_t offset) override {
    return bytes_.substr(std::min<std::size_t>(offset, bytes_.size()), 256 * 1024);
  }
  bool Failed() const override { return false; }

 private:
  std::string_view bytes_;
};

void BM_CopyPassInMemory(benchmark::State& state) {
  const Files& files = TheFiles();
  std::ifstream in(files.Mission(), std::ios::binary);
  const std::string mission{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  for (auto _ : state) {
    MemoryWindow source(mission);
    DiscardingSink output;
    benchmark::DoNotOptimize(CopyPass(source, output, 20));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(mission.size()));
}

// The same mission saved with LF line ends: each line is taken singly and gains its CR.
void BM_CopyPassInMemoryLineFeeds(benchmark::State& state) {
  const Files& files = TheFiles();
  std::ifstream in(files.Mission(), std::ios::binary);
  std::string mission;
  for (std::istreambuf_iterator<char> at(in), end; at != end; ++at) {
    if (*at != '\r') mission += *at;
  }
  for (auto _ : state) {
    MemoryWindow source(mission);
    DiscardingSink output;
    benchmark::DoNotOptimize(CopyPass(source, output, 20));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(mission.size()));
}

// The appended text of the largest run, written block by block ...
void BM_WriteItemBlocks(benchmark::State& state) {
  const Files& files = TheFiles();
  for (auto _ : state) {
    std::ofstream out(files.Output(), std::ios::binary | std::ios::trunc);
    OutputBuffer output(*out.rdbuf());
    for (int id = 2; id < kBlockCount + 2; ++id) {
      WriteItemBlock(output, id, "1055", -262144 + id * 16, 262144 - id * 16,
                     static_cast<float>(id % 360));
    }
    output.Flush();
  }
}

// ... and the same bytes copied from a file that already holds them.
void BM_PlainCopyOfItemBlocks(benchmark::State& state) {
  const Files& files = TheFiles();
  const fs::path blocks = files.Output().parent_path() / "blocks.mis";
  {
    std::ofstream out(blocks, std::ios::binary | std::ios::trunc);
    OutputBuffer output(*out.rdbuf());
    for (int id = 2; id < kBlockCount + 2; ++id) {
      WriteItemBlock(output, id, "1055", -262144 + id * 16, 262144 - id * 16,
                     static_cast<float>(id % 360));
    }
  }
  for (auto _ : state) PlainCopy(blocks, files.Output());
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPassInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPassInMemoryLineFeeds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopyOfItemBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteItemBlocks)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bosquell
