// The map's picture: the viewport's transforms, the mission's density and what a scene holds.

#include "map/map_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../engine/test_support.h"
#include "map/map_viewport.h"
#include "map/mission_density.h"

namespace bosquell {
namespace {

TEST(MapViewport, PixelsAndMapUnitsAreEachOthersInverse) {
  MapViewport viewport;
  viewport.Resize(400, 300);
  viewport.Fit({-1000, -500, 1000, 500}, 0);
  EXPECT_EQ(viewport.UnitsPerPixel(), 5);
  // Y points up on the map and down on the screen.
  const PixelPoint topLeft = viewport.ToPixel({-1000, 500});
  EXPECT_DOUBLE_EQ(topLeft.x, 0);
  EXPECT_DOUBLE_EQ(topLeft.y, 50);
  for (const PixelPoint pixel : {PixelPoint{0, 0}, PixelPoint{123.5, 77}, PixelPoint{400, 300}}) {
    viewport.ZoomAbout({50, 60}, 1.25);
    viewport.Pan(-7, 3);
    const PixelPoint back = viewport.ToPixel(viewport.ToMap(pixel));
    EXPECT_NEAR(back.x, pixel.x, 1e-9);
    EXPECT_NEAR(back.y, pixel.y, 1e-9);
  }
  // Zooming keeps the point under the pointer in its place.
  const MapPoint under = viewport.ToMap({10, 20});
  viewport.ZoomAbout({10, 20}, 3);
  EXPECT_NEAR(viewport.ToPixel(under).x, 10, 1e-9);
  EXPECT_NEAR(viewport.ToPixel(under).y, 20, 1e-9);
}

TEST(MissionDensity, CountsItemPositionsInBinsAndFailsOnAMissingFile) {
  testing::TempDir dir;
  testing::WriteFile(dir / "m.mis",
                     "begin item 0\r\n  position -512 0 0\r\nend item\r\n"
                     "begin item 1\r\n  position 512 256 0\r\nend item\r\n"
                     "begin item 2\r\n  position 512 256 0\r\nend item\r\n"
                     "begin waypoint\r\n  position 9999 9999 0\r\nend waypoint\r\n");
  const std::optional<MissionDensity> density = MissionDensity::Read((dir / "m.mis").string());
  ASSERT_TRUE(density);
  EXPECT_EQ(density->Count(), 3u);
  EXPECT_EQ(density->Bounds().left, -512);
  EXPECT_EQ(density->Bounds().top, 256);
  EXPECT_EQ(density->At(0, 0), 1u);
  EXPECT_EQ(density->At(density->Columns() - 1, density->Rows() - 1), 2u);
  EXPECT_FALSE(MissionDensity::Read((dir / "gone.mis").string()));
}

TEST(MissionDensity, PositionsFartherApartThanTheLargestDoubleAreBinned) {
  testing::TempDir dir;
  testing::WriteFile(dir / "m.mis",
                     "begin item 0\r\n  position 1e308 0 0\r\nend item\r\n"
                     "begin item 1\r\n  position -1e308 0 0\r\nend item\r\n"
                     "begin item 2\r\n  position 0 0 0\r\nend item\r\n");
  const MissionDensity density = MissionDensity::Read((dir / "m.mis").string()).value();
  ASSERT_EQ(density.Columns(), MissionDensity::kMaxBins);
  for (const int column : {0, MissionDensity::kMaxBins / 2, MissionDensity::kMaxBins - 1}) {
    EXPECT_EQ(density.At(column, 0), 1u) << column;
  }
}

std::uint32_t PixelAt(const MapScene& scene, PixelPoint at) {
  return scene
      .pixels[static_cast<std::size_t>(at.y) * scene.width + static_cast<std::size_t>(at.x)];
}

// The scene holds what the picture decides: the existing objects in grey, each new one in its
// type's colour with a legend entry, the area dashed, the distances as circles.
TEST(MapPicture, SceneShowsObjectsAreaLegendAndCircles) {
  testing::TempDir dir;
  testing::WriteFile(dir / "m.mis", "begin item 0\r\n  position 0 0 0\r\nend item\r\n");
  const MissionDensity density = *MissionDensity::Read((dir / "m.mis").string());
  const std::vector<DrawnObject> objects = {{"1023", 0, 2560, 0}, {"1145", 0, -2560, 1280}};
  MapViewport viewport;
  viewport.Resize(200, 100);
  viewport.Fit({-5120, -2560, 5120, 2560}, 0);
  MapPicture picture;
  picture.existing = &density;
  picture.area = MapRectangle{-2560, -1280, 2560, 1280};
  picture.keepClear = 1024;
  picture.spacing = 512;
  picture.objects = &objects;
  const MapScene scene = DrawMapScene(picture, viewport);
  ASSERT_EQ(scene.pixels.size(), 200u * 100u);
  EXPECT_EQ(PixelAt(scene, {5, 95}), 0xFFFFFFu);  // background
  const PixelPoint existing = viewport.ToPixel({0, 0});
  EXPECT_LT(PixelAt(scene, {existing.x, existing.y - 0.5}) & 0xFF, 0xC0u);
  const std::uint32_t first = PixelAt(scene, viewport.ToPixel({2560, 0}));
  const std::uint32_t second = PixelAt(scene, viewport.ToPixel({-2560, 1280}));
  EXPECT_NE(first, 0xFFFFFFu);
  EXPECT_NE(first, second);
  const auto dashed = std::count_if(scene.lines.begin(), scene.lines.end(),
                                    [](const SceneLine& line) { return line.dashed; });
  EXPECT_EQ(dashed, 4);
  ASSERT_EQ(scene.circles.size(), 4u);  // keep-clear and half the spacing around each object
  EXPECT_DOUBLE_EQ(scene.circles[0].radius, 1024 / viewport.UnitsPerPixel());
  EXPECT_DOUBLE_EQ(scene.circles[1].radius, 256 / viewport.UnitsPerPixel());
  const auto legend = std::count_if(scene.texts.begin(), scene.texts.end(), [](const SceneText& t) {
    return t.text == "1023: 1" || t.text == "1145: 1";
  });
  EXPECT_EQ(legend, 2);
}

// Two objects 1000 map units apart, seen from afar and from beside them: they show where they
// are and nowhere else.
TEST(MapPicture, ExistingObjectsShowAtAnyDistanceAndOnlyInTheView) {
  testing::TempDir dir;
  testing::WriteFile(dir / "m.mis",
                     "begin item 0\r\n  position 0 1000 0\r\nend item\r\n"
                     "begin item 1\r\n  position 1000 0 0\r\nend item\r\n");
  const MissionDensity density = *MissionDensity::Read((dir / "m.mis").string());
  MapPicture picture;
  picture.existing = &density;
  MapViewport viewport;
  viewport.Resize(640, 480);
  // As far out as the map zooms: the view reaches billions of bins beyond the objects.
  viewport.Fit({-1e12, -1e12, 1e12, 1e12}, 0);
  EXPECT_NE(PixelAt(DrawMapScene(picture, viewport), viewport.ToPixel({500, 500})), 0xFFFFFFu);
  // Just below them, left of them, above them, at the aspect of the picture.
  for (const MapRectangle beside :
       {MapRectangle{0, -800, 1000, -50}, {-1050, 125, -50, 875}, {0, 1050, 1000, 1800}}) {
    viewport.Fit(beside, 0);
    const std::vector<std::uint32_t> pixels = DrawMapScene(picture, viewport).pixels;
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFFFFFFu), 640 * 480) << beside.left;
  }
}

// A message as long as the one about objects that could not all be placed, and a path with no
// blanks to break at.
TEST(MapPicture, ProblemIsWrappedToThePictureWidthKeepingItsLineBreaks) {
  MapPicture picture;
  picture.problem =
      "Only 31 of the 100 objects could be placed while keeping the Keep clear and Spacing "
      "distances, please enter a larger Range or smaller distances!\r\n" +
      std::string(60, 'x');
  MapViewport viewport;
  viewport.Resize(400, 300);
  std::vector<std::string> lines;
  for (const SceneText& text : DrawMapScene(picture, viewport).texts) {
    if (text.align == TextAlign::kCenter && text.color == Rgb{33, 33, 33})
      lines.push_back(text.text);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"Only 31 of the 100 objects could be placed while",
                                             "keeping the Keep clear and Spacing distances,",
                                             "please enter a larger Range or smaller distances!",
                                             std::string(51, 'x'), std::string(9, 'x')}));
}

}  // namespace
}  // namespace bosquell
