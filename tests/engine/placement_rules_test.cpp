// The keep-clear and spacing rules: the grids against a plain comparison with every point, and
// the draw's promises over many seeds.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "mission/item_positions.h"
#include "placement/object_draw.h"
#include "placement/point_grid.h"
#include "run/add_objects_run.h"
#include "test_support.h"

namespace bosquell {
namespace {

bool AnyCloserByHand(const std::vector<MapPoint>& points, MapPoint at, double distance) {
  for (const MapPoint& point : points) {
    if (CloserThan(point, at, distance)) return true;
  }
  return false;
}

// Both grids must answer exactly as a comparison with every point does, also where the cells
// had to grow (a tiny cell limit) and for points near the edges and outside the area.
TEST(PointGrids, AnswerAsAComparisonWithEveryPoint) {
  struct Case {
    double distance;
    std::size_t maxCells;
  };
  const MapRectangle area{-1000.5, -700, 1000, 700.25};
  for (const Case& c :
       {Case{30, 1 << 20}, Case{30, 16}, Case{0.75, 1 << 20}, Case{5000, 1 << 20}}) {
    std::mt19937 engine(7);
    std::uniform_real_distribution<double> x(-1100, 1100);
    std::uniform_real_distribution<double> y(-800, 800);
    SortedPointGrid::Builder builder(area, c.distance, c.maxCells);
    GrowingPointGrid growing(area, c.distance, c.maxCells);
    std::vector<MapPoint> inside;
    for (int i = 0; i < 3000; ++i) {
      // Whole and fractional positions, and some exactly one distance apart along an axis.
      MapPoint point{std::round(x(engine)), y(engine)};
      if (i % 7 == 0 && !inside.empty()) point = {inside.back().x + c.distance, inside.back().y};
      builder.Add(point);
      if (area.Contains(point)) {
        growing.Add(point);
        inside.push_back(point);
      }
    }
    const SortedPointGrid sorted = std::move(builder).Build();
    EXPECT_EQ(sorted.Size(), inside.size());
    int closer = 0;
    for (int i = 0; i < 3000; ++i) {
      const MapPoint at{x(engine), std::round(y(engine))};
      const bool expected = AnyCloserByHand(inside, at, c.distance);
      closer += expected;
      ASSERT_EQ(sorted.AnyCloserThan(at, c.distance), expected) << c.distance << " " << i;
      ASSERT_EQ(growing.AnyCloserThan(at, c.distance), expected) << c.distance << " " << i;
    }
    EXPECT_GT(closer, 0);
  }
}

// A mission of 300 trees in a square of 40 x 40 user units around the origin, with a record
// between them that is no item, whose position must not count.
std::string ForestMission() {
  std::ostringstream mission;
  mission << "begin objects\r\n  num_items 300\r\nend objects\r\n";
  mission << "begin waypoint\r\n  position 0 0 0\r\nend waypoint\r\n";
  std::mt19937 engine(3);
  std::uniform_int_distribution<int> at(-20 * 256, 20 * 256);
  for (int i = 0; i < 300; ++i) {
    mission << "begin item " << i << "\r\n  id " << i + 1 << "\r\n  position " << at(engine) << ' '
            << at(engine) << " 0\r\nend item\r\n";
  }
  return mission.str();
}

std::vector<MapPoint> PositionsIn(const std::string& mission) {
  std::stringbuf bytes(mission);
  return ReadItemPositions(bytes).value();
}

class PlacementRulesRun : public ::testing::Test {
 protected:
  PlacementRulesRun() {
    testing::WriteFile(dir / "forest.mis", ForestMission());
    request.rules = {1.5 * 256, 2 * 256};
  }

  testing::TempDir dir;
  AddObjectsRequest request = testing::Request("Georgia", 150, "0.5", "-1", "24.5", "24",
                                               dir / "forest.mis", dir / "forest_rnd.mis");
};

// Over many seeds: every new object inside the rectangle, at least the keep-clear distance from
// every item the mission held, and at least the spacing from every other new one.
TEST_F(PlacementRulesRun, EverySeedKeepsBothRules) {
  const std::vector<MapPoint> existing = PositionsIn(ForestMission());
  ASSERT_EQ(existing.size(), 300u);
  for (std::uint32_t seed = 1; seed <= 25; ++seed) {
    MersenneRandom random(seed);
    random.ReseedFromClock();
    const AddObjectsResult result = AddObjects(request, random);
    ASSERT_EQ(result.status, AddObjectsResult::Status::kWritten)
        << testing::MessageOf(result, request);
    const std::vector<MapPoint> all = PositionsIn(testing::ReadFile(dir / "forest_rnd.mis"));
    ASSERT_EQ(all.size(), 450u);
    const std::vector<MapPoint> added(all.begin() + 300, all.end());
    for (std::size_t i = 0; i < added.size(); ++i) {
      const MapPoint at = added[i];
      EXPECT_TRUE((MapRectangle{-6144, -6400, 6400, 5888}.Contains(at))) << seed;
      EXPECT_FALSE(AnyCloserByHand(existing, at, 1.5 * 256)) << seed;
      EXPECT_FALSE(AnyCloserByHand({added.begin(), added.begin() + i}, at, 2 * 256)) << seed;
    }
  }
}

// An object that breaks a rule is drawn again, whole, from the next four units.
TEST_F(PlacementRulesRun, AnObjectThatBreaksARuleIsDrawnAgainWhole) {
  testing::WriteFile(dir / "forest.mis",
                     "begin item 0\r\n  id 1\r\n  position 0 0 0\r\nend item\r\n");
  request = testing::Request("Georgia", 1, "0", "0", "1", "1", dir / "forest.mis",
                             dir / "forest_rnd.mis");
  request.rules = {256, 0};
  // The first draw (type 1140) lands on the existing object; the second (type 1132) goes.
  testing::ScriptedRandom random{
      0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.5f, testing::kTopUnit, testing::kTopUnit};
  const AddObjectsResult result = AddObjects(request, random);
  ASSERT_EQ(result.status, AddObjectsResult::Status::kWritten)
      << testing::MessageOf(result, request);
  EXPECT_EQ(random.drawn, 8);
  EXPECT_EQ(testing::ReadFile(dir / "forest_rnd.mis"),
            std::string("begin item 0\r\n  id 1\r\n  position 0 0 0\r\nend item\r\n"
                        "\r\nbegin item 1\r\n  id 2\r\n  type_id 1132\r\n"
                        "  position 256 256 0\r\n  facing 180 0\r\n") +
                testing::kBlockTail);
}

// When an object finds no place, the run says how many fitted and writes nothing: an earlier
// output stays as it was.
TEST_F(PlacementRulesRun, ObjectsThatDoNotFitLeaveTheEarlierOutputAlone) {
  testing::WriteFile(dir / "forest_rnd.mis", "an earlier output");
  request = testing::Request("Georgia", 2, "0.5", "-1", "1", "1", dir / "forest.mis",
                             dir / "forest_rnd.mis");
  request.rules = {0, 3 * 256};
  MersenneRandom random(9);
  random.ReseedFromClock();
  const AddObjectsResult result = AddObjects(request, random);
  EXPECT_EQ(result.status, AddObjectsResult::Status::kEndedEarly);
  EXPECT_EQ(testing::MessageOf(result, request),
            "Only 1 of the 2 objects could be placed while keeping the Keep clear and Spacing "
            "distances, please enter a larger Range or smaller distances!\r\nNothing has been "
            "saved, and no earlier output file has been changed.");
  EXPECT_EQ(testing::ReadFile(dir / "forest_rnd.mis"), "an earlier output");
  EXPECT_EQ(testing::FileNames(dir.path()),
            (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));
}

}  // namespace
}  // namespace bosquell
