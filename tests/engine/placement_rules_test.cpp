// The keep-clear and spacing rules: the grids against a plain comparison with every point, and
// the draw's promises over many seeds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "mission/item_positions.h"
#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "placement/object_draw.h"
#include "placement/point_grid.h"
#include "placement/recipe_draw.h"
#include "placement/sorted_point_grid.h"
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

// The arrangements a question must get right, around the area [-1000.5, 1000] x [-700, 700.25]:
// in and around it, crowded at one spot beyond a corner, on a circle about the area's center
// that the corners reach into, and just outside its edges.
std::vector<MapPoint> Arrangement(int kind, double distance, std::mt19937& engine) {
  std::uniform_real_distribution<double> unit(0, 1);
  const double spread = std::min(distance, 2000.0);
  std::vector<MapPoint> points;
  for (int i = 0; i < 3000; ++i) {
    const double u = unit(engine);
    const double v = unit(engine);
    if (kind == 0) {  // whole and fractional, some exactly one distance apart along an axis
      points.push_back({std::round((2000 + 2 * distance) * (u - 0.5)), 1600 * v - 800});
      if (i % 7 == 0) points.push_back({points.back().x + distance, points.back().y});
    } else if (kind == 1) {  // a third of them exactly one distance from the corner
      points.push_back(i % 3 == 0 ? MapPoint{1000 + distance, 700.25}
                                  : MapPoint{1000 + distance + spread * (u - 0.5) / 64, 700 + v});
    } else if (kind == 2) {  // a band 8 units wide, 1000 units beyond the distance
      const double x = 2 * u - 1;
      const double y = (i % 2 == 0 ? 1 : -1) * std::sqrt(1 - x * x);
      const double radius = distance + 1000 + (v - 0.5) * 8;
      points.push_back({-0.25 + radius * x, 0.125 + radius * y});
    } else {  // about one distance from the right or the bottom edge
      const double away = distance + spread * (u - 0.5);
      points.push_back(i % 2 == 0 ? MapPoint{1000 + away, 1400 * v - 700}
                                  : MapPoint{2000 * v - 1000, -700 - away});
    }
  }
  return points;
}

// The keep-clear grid must answer, for points of the area, exactly as a comparison with every
// point does. Half of the questions are asked about one distance from a point; every distance
// and every arrangement gets both answers.
TEST(PointGrids, KeepClearAnswersAsAComparisonWithEveryPoint) {
  const MapRectangle area{-1000.5, -700, 1000, 700.25};
  const std::vector<double> distances{30.0, 0.75, 5000.0, 1e6};
  std::vector<int> closerAt(distances.size()), closerIn(4);
  for (std::size_t d = 0; d < distances.size(); ++d) {
    const double distance = distances[d];
    for (int kind = 0; kind <= 3; ++kind) {
      std::mt19937 engine(7);
      const std::vector<MapPoint> points = Arrangement(kind, distance, engine);
      SortedPointGrid::Builder builder(area, distance);
      for (const MapPoint& point : points) builder.Add(point);
      const SortedPointGrid grid = std::move(builder).Build();
      std::uniform_real_distribution<double> unit(0, 1);
      std::uniform_int_distribution<std::size_t> pick(0, points.size() - 1);
      for (int i = 0; i < 2000; ++i) {
        MapPoint at{area.left + unit(engine) * 2000.5, area.bottom + unit(engine) * 1400.25};
        if (i % 2 == 1) {
          const MapPoint from = points[pick(engine)];
          const double angle = unit(engine) * 6.28;
          const double length = distance * (0.99 + unit(engine) / 50);
          at = {std::clamp(from.x + length * std::cos(angle), area.left, area.right),
                std::clamp(from.y + length * std::sin(angle), area.bottom, area.top)};
        }
        if (i % 3 == 0) at.x = std::round(at.x);
        const bool expected = AnyCloserByHand(points, at, distance);
        closerAt[d] += expected;
        closerIn[kind] += expected;
        ASSERT_EQ(grid.AnyCloserThan(at, distance), expected)
            << distance << " " << kind << " " << i;
      }
    }
  }
  for (const int closer : closerAt) EXPECT_TRUE(closer > 0 && closer < 4 * 2000) << closer;
  for (const int closer : closerIn) EXPECT_TRUE(closer > 0 && closer < 4 * 2000) << closer;
}

// Lengths whose squares overflow are compared all the same, by both grids: a point is closer
// than a distance beyond 1e154 exactly when it lies within it.
TEST(PointGrids, LengthsPastTheRangeOfSquares) {
  struct Case {
    MapPoint existing;
    double distance;
    bool closer;
  };
  const MapRectangle area{-256, -256, 256, 256};
  for (const Case& c : {Case{{0, 0.5e308}, 1e308, true}, Case{{0, 1.5e308}, 1e308, false},
                        Case{{-1.7e308, 1.7e308}, 1.7e308, false},
                        Case{{1.7e308, 0}, 1.75e308, true}, Case{{1e200, 1e200}, 1e300, true},
                        Case{{1e200, 1e200}, 3e154, false}, Case{{3e154, 0}, 3.01e154, true}}) {
    EXPECT_EQ(CloserThan(c.existing, {0, 0}, c.distance), c.closer) << c.existing.x;
    SortedPointGrid::Builder builder(area, c.distance);
    builder.Add(c.existing);
    EXPECT_EQ(std::move(builder).Build().AnyCloserThan({0, 0}, c.distance), c.closer);
    GrowingPointGrid growing(area, c.distance, 5);
    growing.Add({256, -256});
    EXPECT_TRUE(growing.AnyCloserThan({-256, 256}, c.distance));
  }
}

// The grid of the objects drawn so far, also where its cells had to grow (a tiny cell limit)
// and for a reach past any finite area.
TEST(PointGrids, SpacingAnswersAsAComparisonWithEveryPoint) {
  const MapRectangle area{-1000.5, -700, 1000, 700.25};
  for (const auto& [distance, maxCells] : {std::pair<double, std::size_t>{30, 1 << 20},
                                           {30, 16},
                                           {0.75, 1 << 20},
                                           {5000, 1 << 20},
                                           {1e308, 1 << 20},
                                           {1e308, 1}}) {
    std::mt19937 engine(7);
    std::uniform_real_distribution<double> x(area.left, area.right);
    std::uniform_real_distribution<double> y(area.bottom, area.top);
    GrowingPointGrid growing(area, distance, maxCells);
    std::vector<MapPoint> added;
    for (int i = 0; i < 2000; ++i) {
      const MapPoint at{std::round(x(engine)), y(engine)};
      ASSERT_EQ(growing.AnyCloserThan(at, distance), AnyCloserByHand(added, at, distance))
          << distance << " " << i;
      if (i % 2 == 0) {
        growing.Add(at);
        added.push_back(at);
      }
    }
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
    testing::SetRules(request, 1.5, 2);
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
    random.StartRun();
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
  testing::SetRules(request, 1, 0);
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

// An object just outside the area but within the keep-clear distance of its edge is kept clear
// of; without the rule the same draws come closer to one of them.
TEST_F(PlacementRulesRun, KeepsClearOfObjectsJustOutsideTheArea) {
  const std::vector<MapPoint> outside{{612, -400}, {612, 0},    {612, 400},  {-712, 0},
                                      {0, 767},    {300, -513}, {-513, -513}};
  std::string mission;
  for (std::size_t i = 0; i < outside.size(); ++i) {
    mission += "begin item " + std::to_string(i) + "\r\n  position " +
               std::to_string(static_cast<int>(outside[i].x)) + " " +
               std::to_string(static_cast<int>(outside[i].y)) + " 0\r\nend item\r\n";
  }
  testing::WriteFile(dir / "forest.mis", mission);
  request = testing::Request("Georgia", 100, "0", "0", "2", "2", dir / "forest.mis",
                             dir / "forest_rnd.mis");
  for (const double keepClear : {256.0, 0.0}) {
    testing::SetRules(request, keepClear / 256, 0);
    bool anyCloser = false;
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
      MersenneRandom random(seed);
      random.StartRun();
      const AddObjectsResult result = AddObjects(request, random);
      ASSERT_EQ(result.status, AddObjectsResult::Status::kWritten)
          << testing::MessageOf(result, request);
      const std::vector<MapPoint> all = PositionsIn(testing::ReadFile(dir / "forest_rnd.mis"));
      for (std::size_t i = outside.size(); i < all.size(); ++i) {
        anyCloser = anyCloser || AnyCloserByHand(outside, all[i], 256);
      }
    }
    EXPECT_EQ(anyCloser, keepClear == 0) << keepClear;
  }
}

// Every distance a run accepts gives a run that ends: distances reaching past any map keep
// clear of every object or place just one.
TEST_F(PlacementRulesRun, DistancesPastAnyMapEndTheRun) {
  struct Case {
    const char* mission;
    double keepClear;  // in user units
    double spacing;
    int count;
    const char* message;  // nothing when every object is placed
  };
  const std::string notAll =
      " could be placed while keeping the Keep clear and Spacing distances, please enter a larger "
      "Range or smaller distances!\r\nNothing has been saved, and no earlier output file has "
      "been changed.";
  const std::string none = "Only 0 of the 1 objects" + notAll;
  const std::string one = "Only 1 of the 2 objects" + notAll;
  const std::string far = "begin item 0\r\n  position 1e200 -1e300 0\r\nend item\r\n";
  const std::string empty = "begin objects\r\n  num_items 0\r\nend objects\r\n";
  for (const Case& c :
       {Case{empty.c_str(), 4e305, 0, 1, nullptr}, Case{empty.c_str(), 7.02e305, 0, 1, nullptr},
        Case{far.c_str(), 4e305, 0, 1, none.c_str()}, Case{far.c_str(), 1e-300, 0, 1, nullptr},
        Case{empty.c_str(), 0, 4e305, 2, one.c_str()},
        Case{empty.c_str(), 0, 7.02e305, 1, nullptr}}) {
    testing::WriteFile(dir / "forest.mis", c.mission);
    request = testing::Request("Georgia", c.count, "0.5", "-1", "24.5", "24", dir / "forest.mis",
                               dir / "forest_rnd.mis");
    testing::SetRules(request, c.keepClear, c.spacing);
    MersenneRandom random(1);
    random.StartRun();
    const AddObjectsResult result = AddObjects(request, random);
    if (c.message == nullptr) {
      EXPECT_EQ(result.status, AddObjectsResult::Status::kWritten)
          << c.keepClear << testing::MessageOf(result, request);
    } else {
      EXPECT_EQ(result.status, AddObjectsResult::Status::kEndedEarly) << c.keepClear;
      EXPECT_EQ(testing::MessageOf(result, request), c.message);
    }
  }
}

// When an object finds no place, the run says how many fitted and writes nothing: an earlier
// output stays as it was.
TEST_F(PlacementRulesRun, ObjectsThatDoNotFitLeaveTheEarlierOutputAlone) {
  testing::WriteFile(dir / "forest_rnd.mis", "an earlier output");
  request = testing::Request("Georgia", 2, "0.5", "-1", "1", "1", dir / "forest.mis",
                             dir / "forest_rnd.mis");
  testing::SetRules(request, 0, 3);
  MersenneRandom random(9);
  random.StartRun();
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

// Keeping clear takes the mission's objects from the copy pass itself: the run must write what a
// separate read of the positions gives, also for a mission of LF line ends that is read in many
// pieces and scanned on a thread of its own.
TEST_F(PlacementRulesRun, OneReadWritesWhatASeparateReadOfThePositionsGives) {
  std::string mission = "begin objects\n  num_items 70000\nend objects\n";
  std::mt19937 engine(5);
  std::uniform_int_distribution<int> at(-25 * 256, 25 * 256);
  for (int i = 0; i < 70000; ++i) {
    mission += "begin item " + std::to_string(i) + "\n  id " + std::to_string(i + 1) +
               "\n  position " + std::to_string(at(engine)) + " " + std::to_string(at(engine)) +
               " 0\nend item\n";
  }
  testing::WriteFile(dir / "forest.mis", mission);
  request = testing::Request("Georgia", 3000, "0", "0", "25", "25", dir / "forest.mis",
                             dir / "forest_rnd.mis");
  testing::SetRules(request, 0.05, 0.1);
  MersenneRandom random(3);
  random.StartRun();
  const AddObjectsResult result = AddObjects(request, random);
  ASSERT_EQ(result.status, AddObjectsResult::Status::kWritten)
      << testing::MessageOf(result, request);

  const auto layers = std::get<std::vector<CompiledLayer>>(CompileLayers(request.recipe.layers));
  std::stringbuf positions(mission);
  const SortedPointGrid grid = ReadKeepClearGrid(positions, *ReachOfKeepClear(layers)).value();
  MersenneRandom again(3);
  again.StartRun();
  const DrawnLayers drawn = DrawLayers(layers, &grid, kMaxObjectCount, again);
  ASSERT_TRUE(drawn.Complete());
  std::stringbuf source(mission), expected;
  {
    OutputBuffer buffer(expected);
    double nextId = FirstId(CopyPass(source, buffer, 3000));
    for (const DrawnObject& object : drawn.objects) {
      WriteItemBlock(buffer, ++nextId, object.typeText, object.x, object.y, object.facing);
    }
  }
  EXPECT_TRUE(testing::ReadFile(dir / "forest_rnd.mis") == expected.str());
}

}  // namespace
}  // namespace bosquell
