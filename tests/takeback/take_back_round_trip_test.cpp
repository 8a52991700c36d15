// Taking a run back from its own output gives back its input, byte for byte.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "placement/random_source.h"
#include "run/add_objects_run.h"
#include "string_sink.h"
#include "takeback/take_back.h"
#include "test_support.h"

namespace bosquell {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A mission in the form a run writes (CR LF line ends, count lines as a run writes them), made
// of the kinds of lines a run has to pass: records of every shape, trees of the same types and
// with the same fixed lines as the run's, empty lines anywhere, now and then a very long line.
std::string RandomMission(std::mt19937& random) {
  const auto chance = [&random](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  const auto number = [&random](int low, int high) {
    return std::to_string(std::uniform_int_distribution<int>(low, high)(random));
  };
  if (chance(5)) return "";
  std::string text;
  if (chance(70)) text += "begin header\r\n  title Round trip\r\nend header\r\n\r\n";
  const int countLines = std::uniform_int_distribution<int>(0, 2)(random);
  for (int i = 0; i < countLines; ++i) {
    const double fractions[] = {0.5, 0.1, 12.25, 3.3, 1e-7};
    const double value = chance(70) ? std::stod(number(0, 2000000))
                                    : fractions[std::uniform_int_distribution<int>(0, 4)(random)];
    text += "begin objects\r\n  num_items " + NumberText(value) + "\r\nend objects\r\n\r\n";
  }
  const int records = std::uniform_int_distribution<int>(0, 25)(random);
  for (int id = 1; id <= records; ++id) {
    text += "begin item " + std::to_string(id - 1) + "\r\n  id " + std::to_string(id) + "\r\n";
    if (chance(50)) {
      // A tree as a run writes one, maybe one of the types the run draws.
      text += "  type_id " + (chance(50) ? number(1020, 1030) : number(1, 5000)) + "\r\n";
      text += "  position " + number(-5000, 5000) + " " + number(-5000, 5000) + " 0\r\n";
      text += "  facing " + number(0, 359) + " 0\r\n";
      const std::string_view tail = testing::kBlockTail;
      text += tail.substr(0, tail.find("end item"));
    } else {
      text += "  position " + number(-300000, 300000) + " " + number(-300000, 300000) + " 0\r\n";
    }
    if (chance(10)) text += "  note " + std::string(70 * 1024, 'x') + "\r\n";
    text += "end item\r\n";
    const int blanks = std::uniform_int_distribution<int>(0, 3)(random);
    for (int i = 0; i < blanks; ++i) text += "\r\n";
  }
  if (chance(30)) text += "  id 57\r\n";
  return text;
}

// The run's request drawn from `random`: a theme or an own id, a count, and an area that is
// now and then a single point, where objects come out alike and records repeat.
AddObjectsRequest RandomRequest(std::mt19937& random, const TempDir& dir,
                                const std::string& mission, const std::string& output) {
  const char* themes[] = {"Jungel", "Snow", "Peru", "Desert", "1055", "oak tree"};
  const auto pick = [&random](int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
  };
  const int count = pick(4) == 0 ? 1 + pick(2000) : 1 + pick(60);
  const char* ranges[] = {"0", "1", "40", "1024"};
  const char* range = ranges[pick(4)];
  return testing::Request(themes[pick(6)], count, pick(2) == 0 ? "0" : "12.3", "-7", range, range,
                          dir / mission, dir / output);
}

// Adds a run to `before` and takes it back, in windows of `chunkSize` bytes; `before` holds
// `repeats` records alike the run's.
void ExpectRoundTrip(const std::string& before, const AddObjectsRequest& request,
                     std::uint32_t seed, std::size_t chunkSize, std::size_t repeats = 0) {
  WriteFile(request.missionPath, before);
  MersenneRandom random(seed);
  random.StartRun();
  const AddObjectsResult run = AddObjects(request, random);
  ASSERT_EQ(run.status, AddObjectsResult::Status::kWritten);
  const std::string after = ReadFile(request.outputPath);

  std::stringbuf firstRead(after);
  const RunRecords records = FindRunRecords(firstRead, run.objects, {}, chunkSize);
  EXPECT_EQ(records.removed, run.objects.size());
  EXPECT_EQ(records.NotFound(), 0u);
  EXPECT_TRUE(records.changed.empty());
  EXPECT_EQ(records.repeated.size(), repeats);
  std::stringbuf secondRead(after);
  testing::StringSink output;
  const CountLines counts = WriteWithoutRunRecords(secondRead, output, records, chunkSize);
  EXPECT_TRUE(counts.left.empty());
  EXPECT_EQ(output.text, before);
}

TEST(TakeBackRoundTrip, GivesBackTheInputForEverySeedAndMission) {
  TempDir dir;
  const std::size_t chunkSizes[] = {7, 64, 1000, 256 * 1024};
  for (std::uint32_t seed = 1; seed <= 80; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::string mission = RandomMission(random);
    const AddObjectsRequest request = RandomRequest(random, dir, "forest.mis", "forest_rnd.mis");
    ExpectRoundTrip(mission, request, seed, chunkSizes[seed % 4]);
  }
}

// The mission already holds the run's very objects, from the same run made before: the last
// records are the ones taken back.
TEST(TakeBackRoundTrip, TakesTheLastOfRecordsThatRepeatARunsOwn) {
  TempDir dir;
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::string mission = RandomMission(random);
    AddObjectsRequest request = RandomRequest(random, dir, "forest.mis", "once.mis");
    WriteFile(dir / "forest.mis", mission);
    MersenneRandom draws(seed);
    draws.StartRun();
    ASSERT_EQ(AddObjects(request, draws).status, AddObjectsResult::Status::kWritten);
    const std::string once = ReadFile(dir / "once.mis");
    request.missionPath = (dir / "once.mis").string();
    request.outputPath = (dir / "twice.mis").string();
    ExpectRoundTrip(once, request, seed, 256 * 1024, static_cast<std::size_t>(request.recipe.layers[0].count));
  }
}

// Count lines that a run writes otherwise come back as the run writes them; a count that the
// run took below zero stays as it is.
TEST(TakeBackRoundTrip, CountLinesComeBackInTheRunsForm) {
  struct Case {
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"  num_items 12", "  num_items 12"},
      {"  num_items 0.1", "  num_items 0.1"},
      {"  num_items 012", "  num_items 12"},
      {"  num_items +12", "  num_items 12"},
      {"  num_items  12", "  num_items 12"},
      {"  num_items 1 2", "  num_items 12"},
      {"  num_items 12.50", "  num_items 12.5"},
      {"  num_items 1e3", "  num_items 1000"},
      {"  num_items 12 trees", "  num_items 12"},
      {"  num_items", "  num_items 0"},
      {"  num_itemsX", "  num_items 0"},
      {"  num_items 0.123456789012345", "  num_items 0.123456789012344"},
      {"  num_items -3", "  num_items 17"},
  };
  TempDir dir;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.before);
    WriteFile(dir / "in.mis",
              std::string("begin objects\r\n") + test.before + "\r\nend objects\r\n");
    const AddObjectsRequest request =
        testing::Request("1055", 20, "0", "0", "9", "9", dir / "in.mis", dir / "out.mis");
    MersenneRandom random(5);
    random.StartRun();
    const AddObjectsResult run = AddObjects(request, random);
    ASSERT_EQ(run.status, AddObjectsResult::Status::kWritten);
    std::stringbuf output(ReadFile(dir / "out.mis"));
    testing::StringSink back;
    RemoveObjects(output, back, run.objects);
    EXPECT_EQ(back.text, std::string("begin objects\r\n") + test.after + "\r\nend objects\r\n");
  }
}

}  // namespace
}  // namespace bosquell
