#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "placement/random_source.h"
#include "run/add_objects_request.h"

namespace bosquell::testing {

// A run's request for `count` objects of the theme named `types` (or of that own id, when no
// theme has the name), in the area the four texts give as the window's boxes give it, with no
// rules.
AddObjectsRequest Request(std::string_view types, int count, std::string_view centerX,
                          std::string_view centerY, std::string_view rangeX,
                          std::string_view rangeY, const std::filesystem::path& mission,
                          const std::filesystem::path& output);

// Sets the rules of the request's one layer, in user units.
void SetRules(AddObjectsRequest& request, double keepClear, double spacing);

// The message a message box shows for a run's result.
std::string MessageOf(const AddObjectsResult& result, const AddObjectsRequest& request);

// Hands out the given units in a cycle; each run starts the cycle again.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom(std::initializer_list<float> units) : units_(units) {}
  void StartRun() override {
    ++runsStarted;
    next_ = 0;
  }
  float RandomUnit() override {
    ++drawn;
    const float unit = units_[next_];
    next_ = (next_ + 1) % units_.size();
    return unit;
  }

  int runsStarted = 0;
  int drawn = 0;

 private:
  std::vector<float> units_;
  std::size_t next_ = 0;
};

// The lines every appended item block ends with, after its facing line.
inline constexpr const char* kBlockTail =
    "  wpdistance 4\r\n"
    "  fov 180\r\n"
    "  obliqueness 15\r\n"
    "  waccuracy2 100\r\n"
    "  perception2 100\r\n"
    "  perfectionist2 100\r\n"
    "  movetimer 3\r\n"
    "  crouchtimer 3\r\n"
    "  shoottimer 5\r\n"
    "  attention 30\r\n"
    "  advancetimer 10\r\n"
    "  edistances 16 1024\r\n"
    "end item\r\n"
    "\r\n";

// The largest float below 1, the top of what RandomUnit can return.
inline constexpr float kTopUnit = 1.0f - 1.0f / 16777216.0f;

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Bytes that differ along their length, so that a piece lost, repeated or out of place shows.
std::string Pattern(std::size_t size);

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);
// Names of the files in a directory, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& directory);

// A BMP of width x height pixels of one colour (0xRRGGBB), 24 bits a pixel.
std::string PlainBmp(int width, int height, std::uint32_t rgb);

}  // namespace bosquell::testing
