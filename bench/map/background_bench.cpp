// The picture under the map at the largest size it takes, 8192 x 8192: decoding a PNG and a JPEG
// of a made-up terrain, making the smaller copies, and painting a 1000 x 700 view at zooms from
// the whole picture to a few of its pixels.
// Run: build/release/bench/bosquell_background_benchmarks [--benchmark_filter=...]
// The pictures are made once, in the system's temporary folder, and kept for the next run (making
// the PNG takes a while); peak_rss_MiB is the process's peak, so run one read benchmark alone,
// once the pictures are there, to see the memory a read needs.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/utf8_path.h"
#include "map/map_picture.h"
#include "map/picture_reader.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace bosquell {
namespace {

namespace fs = std::filesystem;

constexpr int kSide = 8192;

// Heights from a coarse grid of random values, mixed across each cell; a wider grid gives the
// hills and a finer one the slopes.
class Heights {
 public:
  Heights(int cell, std::uint32_t seed) : cell_(cell), columns_(kSide / cell + 2) {
    values_.resize(static_cast<std::size_t>(columns_) * columns_);
    for (int& value : values_) {
      seed = seed * 1664525u + 1013904223u;
      value = static_cast<int>(seed >> 24);
    }
  }
  int At(int x, int y) const {
    const int cx = x / cell_, cy = y / cell_, fx = x % cell_, fy = y % cell_;
    const auto v = [&](int i, int j) {
      return values_[static_cast<std::size_t>(j) * columns_ + i];
    };
    const int top = v(cx, cy) * (cell_ - fx) + v(cx + 1, cy) * fx;
    const int bottom = v(cx, cy + 1) * (cell_ - fx) + v(cx + 1, cy + 1) * fx;
    return (top * (cell_ - fy) + bottom * fy) / (cell_ * cell_);
  }

 private:
  int cell_;
  int columns_;
  std::vector<int> values_;
};

// Water, fields, woods and rock by height, a grain of noise on every pixel as photographs of
// terrain have, and straight roads.
std::vector<unsigned char> Terrain() {
  const Heights hills(512, 7), slopes(64, 11);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(kSide) * kSide * 3);
  std::uint32_t grain = 1;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const int height = (3 * hills.At(x, y) + slopes.At(x, y)) / 4;
      int red = 40 + height / 2, green = 90 + height / 3, blue = 40;
      if (height < 80) red = 50, green = 90, blue = 150 + height / 2;
      if (height > 170) red = green = blue = 60 + height / 2;
      grain ^= grain << 13, grain ^= grain >> 17, grain ^= grain << 5;
      const int noise = static_cast<int>(grain >> 28) - 8;
      if ((x + y / 2) % 1500 < 5 || (x / 3 + y) % 2100 < 4) red = green = blue = 200;
      unsigned char* pixel = &pixels[(static_cast<std::size_t>(y) * kSide + x) * 3];
      pixel[0] = static_cast<unsigned char>(red + noise);
      pixel[1] = static_cast<unsigned char>(green + noise);
      pixel[2] = static_cast<unsigned char>(blue + noise);
    }
  }
  return pixels;
}

const fs::path& PictureFile(const char* extension) {
  static const fs::path png = fs::temp_directory_path() / "bosquell-background-bench.png";
  static const fs::path jpeg = fs::temp_directory_path() / "bosquell-background-bench.jpg";
  static const bool made = [] {
    if (fs::exists(png) && fs::exists(jpeg)) return true;
    const std::vector<unsigned char> pixels = Terrain();
    const auto write = [](void* file, void* data, int size) {
      static_cast<std::ofstream*>(file)->write(static_cast<const char*>(data), size);
    };
    std::ofstream pngFile(png, std::ios::binary | std::ios::trunc);
    stbi_write_png_to_func(write, &pngFile, kSide, kSide, 3, pixels.data(), 0);
    std::ofstream jpegFile(jpeg, std::ios::binary | std::ios::trunc);
    stbi_write_jpg_to_func(write, &jpegFile, kSide, kSide, 3, pixels.data(), 90);
    return true;
  }();
  (void)made;
  return std::string(extension) == "png" ? png : jpeg;
}

void Report(benchmark::State& state, const fs::path& file) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["file_MiB"] = static_cast<double>(fs::file_size(file)) / (1 << 20);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

// Decoding alone.
void BM_Decode(benchmark::State& state, const char* extension) {
  const fs::path& file = PictureFile(extension);
  for (auto _ : state) {
    DecodedPicture decoded = DecodePicture(Utf8FromPath(file));
    if (!decoded.rgb) state.SkipWithError(decoded.problem.c_str());
    benchmark::DoNotOptimize(decoded.rgb.get());
  }
  Report(state, file);
}
BENCHMARK_CAPTURE(BM_Decode, png, "png")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Decode, jpeg, "jpg")->Unit(benchmark::kMillisecond)->Iterations(3);

// The smaller copies of a decoded picture alone.
void BM_SmallerCopies(benchmark::State& state) {
  DecodedPicture decoded = DecodePicture(Utf8FromPath(PictureFile("jpg")));
  for (auto _ : state) {
    state.PauseTiming();
    MallocBytes copy = BackgroundPicture::CopyOf(decoded.rgb.get(), kSide, kSide);
    state.ResumeTiming();
    const BackgroundPicture picture(kSide, kSide, std::move(copy));
    benchmark::DoNotOptimize(picture.Levels().back().rgb);
    state.counters["picture_MiB"] = static_cast<double>(picture.Bytes()) / (1 << 20);
  }
}
BENCHMARK(BM_SmallerCopies)->Unit(benchmark::kMillisecond)->Iterations(5);

// Decoding and the smaller copies: what opening a picture costs.
void BM_Read(benchmark::State& state, const char* extension) {
  const fs::path& file = PictureFile(extension);
  for (auto _ : state) {
    PictureReading reading = ReadBackgroundPicture(Utf8FromPath(file));
    if (!reading.picture) state.SkipWithError(reading.problem.c_str());
    benchmark::DoNotOptimize(reading.picture);
  }
  Report(state, file);
}
BENCHMARK_CAPTURE(BM_Read, png, "png")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Read, jpeg, "jpg")->Unit(benchmark::kMillisecond)->Iterations(3);

// A redraw of a 1000 x 700 view with the picture under it, the picture's units per screen pixel
// given as the argument in sixteenths: 16 is one picture pixel to a screen pixel; 256, the whole
// picture in the view; 2, zoomed in eight times; 4096, the picture a few pixels wide.
void BM_Redraw(benchmark::State& state) {
  static const PictureReading reading = ReadBackgroundPicture(Utf8FromPath(PictureFile("jpg")));
  MapPicture map;
  map.background = MapBackground{
      &*reading.picture, {-kSide * 128.0, kSide * 128.0}, {kSide * 128.0, -kSide * 128.0}, 0.7};
  MapViewport viewport;
  viewport.Resize(1000, 700);
  const double half = 500.0 * 256 * static_cast<double>(state.range(0)) / 16;
  viewport.Fit({-half + 1000, -half * 0.7 + 1000, half + 1000, half * 0.7 + 1000}, 0);
  for (auto _ : state) benchmark::DoNotOptimize(DrawMapScene(map, viewport).pixels.data());
}
BENCHMARK(BM_Redraw)->Arg(2)->Arg(16)->Arg(24)->Arg(256)->Arg(4096)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bosquell
