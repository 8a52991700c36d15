// The polygon checks behind the recipe's refusals: crossings, touches and folds found, simple
// outlines let through.

#include "placement/polygon_checks.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace bosquell {
namespace {

TEST(PolygonChecks, FindsEdgesThatMeetWhereTheyShouldNot) {
  struct Case {
    std::vector<MapPoint> corners;
    std::optional<EdgeCrossing> crossing;
  };
  const Case cases[] = {
      {{{0, 0}, {4, 0}, {0, 4}}, std::nullopt},
      {{{0, 0}, {4, 0}, {4, 4}, {2, 1}, {0, 4}}, std::nullopt},        // not convex
      {{{0, 0}, {4, 0}, {0, 4}, {4, 4}}, EdgeCrossing{1, 3}},          // a bow tie
      {{{0, 0}, {4, 0}, {4, 4}, {2, 0}, {0, 4}}, EdgeCrossing{0, 3}},  // a corner on an edge
      {{{0, 0}, {4, 0}, {2, 0}, {2, 4}}, EdgeCrossing{0, 1}},          // folding back
      {{{0, 0}, {8, 0}, {8, 4}, {4, 4}, {4, 0}, {2, 0}, {2, -4}}, EdgeCrossing{0, 4}},  // overlap
      {{{0, 0}, {4, 0}, {4, 4}, {4, 4}, {0, 4}}, EdgeCrossing{1, 3}},  // a corner twice
      {{{0, 0}, {4, 0}, {4, 4}, {0, 0}}, EdgeCrossing{0, 2}},          // the first corner again
      // Far out on the map the tests stay exact: a corner half a unit off the diagonal, then on it.
      {{{-8388608, -8388608}, {8388607, 8388607}, {-8388608, 8388607}, {0, 0.5}}, std::nullopt},
      {{{-8388608, -8388608}, {8388607, 8388607}, {-8388608, 8388607}, {0, 0}}, EdgeCrossing{0, 3}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindEdgeCrossing(c.corners), c.crossing) << c.corners.size() << " corners";
  }
}

TEST(PolygonChecks, TellsAPolygonWithoutArea) {
  EXPECT_TRUE(CornersOnOneLine(std::vector<MapPoint>{{1, 1}, {1, 1}, {3, 3}, {-2, -2}}));
  EXPECT_FALSE(CornersOnOneLine(std::vector<MapPoint>{{1, 1}, {1, 1}, {3, 3}, {-2, -1}}));
  // A bow tie's halves cancel out; the triangle runs clockwise.
  EXPECT_EQ(TwiceSignedArea(std::vector<MapPoint>{{0, 0}, {4, 0}, {0, 4}, {4, 4}}), 0);
  EXPECT_EQ(TwiceSignedArea(std::vector<MapPoint>{{0, 0}, {0, 4}, {4, 0}}), -16);
}

}  // namespace
}  // namespace bosquell
