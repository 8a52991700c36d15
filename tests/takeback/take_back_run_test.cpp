// Taking back runs that kept clear of the mission's objects, between files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <span>
#include <string>

#include "placement/random_source.h"
#include "run/add_objects_run.h"
#include "run/take_back_run.h"
#include "test_support.h"

namespace bosquell {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A layer in a circle of 20 user units around the origin, drawn from types 1140 and 1137.
Layer CircleLayer(Pattern pattern, int count, double spacing, double keepClear) {
  Layer layer;
  layer.mix = WeightedMix{{{"1140", 3}, {"1137", 1}}};
  layer.pattern = pattern;
  layer.fill = count == 0;
  layer.count = count;
  layer.spacing = spacing;
  layer.keepClear = keepClear;
  if (pattern == Pattern::kClumped) {
    layer.clumps = 5;
    layer.clumpRadius = 4;
  }
  layer.areas.push_back({CircleArea{{0, 0}, 20}});
  return layer;
}

// One or two layers, each of another pattern, all keeping clear.
Recipe RandomRecipe(std::mt19937& random) {
  const auto pick = [&random](int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
  };
  Recipe recipe;
  const Layer layers[] = {CircleLayer(Pattern::kUniform, 50 + pick(200), 0.5 * pick(3), 1.5),
                          CircleLayer(Pattern::kEven, pick(2) == 0 ? 0 : 60, 2.5, 1),
                          CircleLayer(Pattern::kClumped, 40 + pick(100), 0.3, 2)};
  const int first = pick(3);
  recipe.layers.push_back(layers[first]);
  if (pick(2) == 0) recipe.layers.push_back(layers[(first + 1 + pick(2)) % 3]);
  return recipe;
}

// Objects over the circle and around it; with `withTrees` some are trees of the types the
// layers draw, which the draw kept clear of too.
std::string CrowdedMission(std::mt19937& random, bool withTrees = true) {
  std::uniform_int_distribution<int> coordinate(-25 * 256, 25 * 256);
  std::string text = "begin objects\r\n  num_items 0\r\nend objects\r\n";
  const int records = std::uniform_int_distribution<int>(20, 150)(random);
  for (int id = 1; id <= records; ++id) {
    const bool tree = withTrees && id % 7 == 0;
    text += "begin item " + std::to_string(id - 1) + "\r\n  id " + std::to_string(id) +
            "\r\n  type_id " + (tree ? "1140" : "77") + "\r\n  position " +
            std::to_string(coordinate(random)) + " " + std::to_string(coordinate(random)) +
            " 0\r\n  facing 0 0\r\n" + (tree ? testing::kBlockTail : "end item\r\n");
  }
  return text;
}

struct Made {
  std::string mission;
  std::string output;
  AddObjectsResult run;
};

Made MakeRun(const TempDir& dir, const Recipe& recipe, const std::string& mission) {
  AddObjectsRequest request;
  request.recipe = recipe;
  request.missionPath = (dir / "forest.mis").string();
  request.outputPath = (dir / "forest_rnd.mis").string();
  WriteFile(request.missionPath, mission);
  MersenneRandom random(*recipe.seed);
  random.StartRun();
  Made made{mission, {}, AddObjects(request, random)};
  if (made.run.status == AddObjectsResult::Status::kWritten)
    made.output = ReadFile(request.outputPath);
  return made;
}

TakeBackResult TakeBack(const TempDir& dir, const Recipe& recipe, const std::string& edited) {
  WriteFile(dir / "edited.mis", edited);
  return TakeBackRun({recipe, (dir / "edited.mis").string(), (dir / "back.mis").string(), {}});
}

TEST(TakeBackRun, GivesBackTheMissionOfRunsThatKeptClear) {
  TempDir dir;
  int drawn = 0;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    Recipe recipe = RandomRecipe(random);
    recipe.seed = seed;
    const Made made = MakeRun(dir, recipe, CrowdedMission(random, seed % 2 == 0));
    if (made.run.status != AddObjectsResult::Status::kWritten) continue;
    ++drawn;
    // Now and then an editor has added a record far away after the run's trees.
    const std::string added =
        seed % 3 == 0 ? "begin item 1\r\n  type_id 77\r\n  position 900000 0 0\r\nend item\r\n"
                      : "";
    const TakeBackResult back = TakeBack(dir, recipe, made.output + added);
    ASSERT_EQ(back.status, TakeBackResult::Status::kWritten);
    EXPECT_EQ(back.report.records.removed, made.run.objects.size());
    // The added record keeps the empty line before it unless the mission ended in one.
    const std::string written = ReadFile(dir / "back.mis");
    EXPECT_TRUE(written == made.mission + added || written == made.mission + "\r\n" + added);
  }
  EXPECT_GT(drawn, 30);
}

// A tree moved a little is kept and listed, and the draw still agrees; an object put on a tree
// turns the draw aside there: that tree stays, or nothing is taken back.
TEST(TakeBackRun, EditsNearTheRunsTreesKeepTheDrawSound) {
  TempDir dir;
  std::mt19937 random(3);
  Recipe recipe;
  recipe.seed = 3;
  recipe.layers = {CircleLayer(Pattern::kUniform, 200, 0.5, 1.5)};
  const Made made = MakeRun(dir, recipe, CrowdedMission(random));
  ASSERT_EQ(made.run.status, AddObjectsResult::Status::kWritten);
  const DrawnObject& tree = made.run.objects[100];
  const std::string position = "  position " + std::to_string(static_cast<long>(tree.x)) + " " +
                               std::to_string(static_cast<long>(tree.y)) + " 0\r\n";
  const std::size_t at = made.output.find(position);
  ASSERT_NE(at, std::string::npos);

  std::string moved = made.output;
  moved.replace(at, position.size(),
                "  position " + std::to_string(static_cast<long>(tree.x) + 300) + " " +
                    std::to_string(static_cast<long>(tree.y)) + " 0\r\n");
  const TakeBackResult afterMove = TakeBack(dir, recipe, moved);
  ASSERT_EQ(afterMove.status, TakeBackResult::Status::kWritten);
  EXPECT_EQ(afterMove.report.records.removed, 199u);
  ASSERT_EQ(afterMove.report.records.changed.size(), 1u);
  EXPECT_EQ(afterMove.report.records.changed[0].object, 100u);

  const std::string added = "begin item 9999\r\n  id 99999\r\n" + position + "end item\r\n";
  const TakeBackResult afterAdd = TakeBack(dir, recipe, made.output + added);
  if (afterAdd.status == TakeBackResult::Status::kWritten) {
    EXPECT_LT(afterAdd.report.records.removed, 200u);
    EXPECT_NE(ReadFile(dir / "back.mis").find(position), std::string::npos);
  } else {
    EXPECT_EQ(afterAdd.status, TakeBackResult::Status::kUnsettled);
  }
}

// The confirmation sees the run's objects as drawn before anything is written: saying no, or a
// write to the mission while it is asked, leaves no output.
TEST(TakeBackRun, WritesOnlyWhatIsConfirmedOnTheMissionAsItWasRead) {
  TempDir dir;
  std::mt19937 random(5);
  Recipe recipe;
  recipe.seed = 5;
  recipe.layers = {CircleLayer(Pattern::kUniform, 30, 0, 0)};
  const Made made = MakeRun(dir, recipe, CrowdedMission(random));
  ASSERT_EQ(made.run.status, AddObjectsResult::Status::kWritten);
  const std::string mission = (dir / "forest_rnd.mis").string();
  const std::string back = (dir / "back.mis").string();
  using Status = TakeBackResult::Status;
  for (const Status answer : {Status::kDeclined, Status::kMissionChanged, Status::kWritten}) {
    const auto confirm = [&](const TakeBackReport& found, std::span<const DrawnObject> objects) {
      EXPECT_EQ(found.records.removed, 30u);
      EXPECT_TRUE(std::equal(objects.begin(), objects.end(), made.run.objects.begin(),
                             made.run.objects.end()));
      if (answer == Status::kMissionChanged) WriteFile(mission, made.output + "\r\n");
      return answer != Status::kDeclined;
    };
    EXPECT_EQ(TakeBackRun({recipe, mission, back, {}}, confirm).status, answer);
    EXPECT_EQ(std::filesystem::exists(back), answer == Status::kWritten);
    WriteFile(mission, made.output);
  }
  EXPECT_EQ(ReadFile(back), made.mission);
}

}  // namespace
}  // namespace bosquell
