// Placing the picture under the map: fitting it to the view, moving a corner, and aligning it
// by two points.

#include "window_logic/background_placement.h"

#include <gtest/gtest.h>

#include <string>

namespace bosquell {
namespace {

void ExpectCorners(const BackgroundCorners& corners, MapPoint topLeft, MapPoint bottomRight) {
  EXPECT_EQ(corners.topLeft.x, topLeft.x);
  EXPECT_EQ(corners.topLeft.y, topLeft.y);
  EXPECT_EQ(corners.bottomRight.x, bottomRight.x);
  EXPECT_EQ(corners.bottomRight.y, bottomRight.y);
}

TEST(BackgroundPlacement, FitsTheViewKeepingItsShapeAndMovesADraggedCornersEdges) {
  // 200 x 100 pixels in a square view: as wide as the view, half as high, in its middle.
  ExpectCorners(FittedCorners(200, 100, {0, 0, 1000, 1000}), {0, 750}, {1000, 250});
  ExpectCorners(FittedCorners(100, 400, {-100, 0, 100, 100}), {-12.5, 100}, {12.5, 0});
  const BackgroundCorners corners{{0, 10}, {20, 0}};
  ExpectCorners(WithCornerAt(corners, PictureCorner::kTopRight, {30, 12}), {0, 12}, {30, 0});
  ExpectCorners(WithCornerAt(corners, PictureCorner::kBottomLeft, {-5, 1}), {-5, 10}, {20, 1});
}

TEST(BackgroundPlacement, TwoPointsAlignThePictureOrAreRefused) {
  // 100 x 50 pixels; 100 map units a pixel across and down.
  const auto aligned = AlignedCorners({{10, 10}, {1000, 5000}}, {{60, 30}, {6000, 3000}}, 100, 50);
  ASSERT_TRUE(std::holds_alternative<BackgroundCorners>(aligned)) << std::get<std::string>(aligned);
  ExpectCorners(std::get<BackgroundCorners>(aligned), {0, 6000}, {10000, 1000});

  const struct {
    AlignmentPoint second;
    std::string problem;
  } refused[] = {
      {{{10, 10}, {0, 0}}, "the two points on the picture coincide"},
      {{{60, 10}, {6000, 0}},
       "the two points on the picture must differ both across and down: pick them diagonally "
       "apart"},
      {{{60, 30}, {0, 3000}},
       "the map positions lie the other way round from the points on the picture: it would be "
       "mirrored"},
      {{{60, 30}, {6000, 7000}},
       "the map positions lie the other way round from the points on the picture: it would be "
       "mirrored"},
      {{{11, 11}, {2e9, -2e9}}, "the picture's corners lie beyond the map"},
  };
  for (const auto& c : refused) {
    const auto result = AlignedCorners({{10, 10}, {1000, 5000}}, c.second, 100, 50);
    ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.problem;
    EXPECT_EQ(std::get<std::string>(result), c.problem);
  }
}

}  // namespace
}  // namespace bosquell
