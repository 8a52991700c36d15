#include "test_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "common/number_text.h"
#include "placement/tree_themes.h"
#include "run/run_messages.h"

namespace bosquell::testing {

AddObjectsRequest Request(std::string_view types, int count, std::string_view centerX,
                          std::string_view centerY, std::string_view rangeX,
                          std::string_view rangeY, const std::filesystem::path& mission,
                          const std::filesystem::path& output) {
  Layer layer;
  if (FindTreeTheme(types) != nullptr) {
    layer.mix = ThemeMix{std::string(types)};
  } else {
    layer.mix = WeightedMix{{WeightedType{std::string(types), 1}}};
  }
  layer.count = count;
  layer.areas.push_back({RectangleArea{{TextValue(centerX), TextValue(centerY)},
                                       {TextValue(rangeX), TextValue(rangeY)}},
                         false});
  AddObjectsRequest request;
  request.recipe.layers.push_back(std::move(layer));
  request.missionPath = mission.string();
  request.outputPath = output.string();
  return request;
}

void SetRules(AddObjectsRequest& request, double keepClear, double spacing) {
  request.recipe.layers.front().keepClear = keepClear;
  request.recipe.layers.front().spacing = spacing;
}

std::string MessageOf(const AddObjectsResult& result, const AddObjectsRequest& request) {
  return JoinLines(RunMessageLines(result, request.outputPath), "\r\n");
}

TempDir::TempDir() {
  std::random_device entropy;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = base / ("bosquell-test-" + std::to_string(entropy()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = std::move(candidate);
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 13) % 26);
  return bytes;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FileNames(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string PlainBmp(int width, int height, std::uint32_t rgb) {
  const int row = (width * 3 + 3) / 4 * 4;  // rows are padded to four bytes
  std::string bmp = "BM";
  const auto put = [&bmp](std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp += static_cast<char>(value >> (8 * i));
  };
  put(54 + row * height, 4), put(0, 4), put(54, 4), put(40, 4), put(width, 4), put(height, 4);
  put(1, 2), put(24, 2), put(0, 4), put(row * height, 4), put(2835, 4), put(2835, 4), put(0, 8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) put(rgb, 3);  // blue, green, red
    bmp.append(static_cast<std::size_t>(row - width * 3), '\0');
  }
  return bmp;
}

}  // namespace bosquell::testing
