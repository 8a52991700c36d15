// The map's picture as GDI paints it: a small scene built by hand, and chosen pixels of the
// bitmap it becomes.

#include <gtest/gtest.h>

#include "win32/scene_painter.h"

namespace bosquell::win32 {
namespace {

constexpr std::uint32_t kBackground = 0x204060;
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 200, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kWhite{255, 255, 255};

MapScene HandBuiltScene() {
  MapScene scene;
  scene.width = 80;
  scene.height = 40;
  scene.pixels.assign(80 * 40, kBackground);
  scene.pixels[3 * 80 + 2] = 0xFF8000;
  scene.lines = {
      {{30, 20}, {50, 20}, kRed, false},
      {{0, 2}, {79, 2}, kBlue, true},
      // Far beyond the picture at both ends, as a zoomed-in view gives.
      {{-1e9, 10}, {1e9, 10}, kYellow, false},
  };
  scene.circles = {{{15, 25}, 6, kGreen}};
  scene.texts = {{{75, 36}, "MM", kWhite, TextAlign::kRight}};
  return scene;
}

int ChangedPixels(const SceneBitmap& bitmap, int left, int top, int right, int bottom) {
  int changed = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) changed += bitmap.Pixel(x, y) != kBackground ? 1 : 0;
  }
  return changed;
}

TEST(ScenePainterTest, PaintsPixelsThenLinesCirclesAndTextsWhereTheSceneSays) {
  SceneBitmap bitmap(nullptr, 80, 40);
  ASSERT_TRUE(bitmap.Valid());
  PaintScene(HandBuiltScene(), nullptr, bitmap);

  struct Expected {
    int x, y;
    std::uint32_t color;
  };
  for (const auto& [x, y, color] : {
           Expected{0, 0, kBackground},
           Expected{2, 3, 0xFF8000},
           Expected{79, 39, kBackground},
           // the solid line, both ends included
           Expected{30, 20, kRed.Packed()},
           Expected{40, 20, kRed.Packed()},
           Expected{50, 20, kRed.Packed()},
           Expected{40, 21, kBackground},
           // the line cut to the picture
           Expected{0, 10, kYellow.Packed()},
           Expected{79, 10, kYellow.Packed()},
           // an outline only: the middle stays as it was
           Expected{21, 25, kGreen.Packed()},
           Expected{9, 25, kGreen.Packed()},
           Expected{15, 19, kGreen.Packed()},
           Expected{15, 31, kGreen.Packed()},
           Expected{15, 25, kBackground},
       }) {
    EXPECT_EQ(bitmap.Pixel(x, y), color) << x << ", " << y;
  }

  int dashes = 0;
  for (int x = 0; x < 80; ++x) dashes += bitmap.Pixel(x, 2) == kBlue.Packed() ? 1 : 0;
  EXPECT_GT(dashes, 20);
  EXPECT_LT(dashes, 75);

  // Right-aligned on x = 75, on the baseline y = 36: the letters end at 75 and stand above it.
  EXPECT_GT(ChangedPixels(bitmap, 50, 24, 76, 37), 10);
  EXPECT_EQ(ChangedPixels(bitmap, 77, 24, 80, 40), 0);
  EXPECT_EQ(ChangedPixels(bitmap, 50, 38, 80, 40), 0);
}

TEST(ScenePainterTest, ASceneOfAnotherSizeIsDrawnFromTheTopLeftCorner) {
  SceneBitmap bitmap(nullptr, 100, 50);
  PaintScene(HandBuiltScene(), nullptr, bitmap);
  EXPECT_EQ(bitmap.Pixel(2, 3), 0xFF8000u);
  EXPECT_EQ(bitmap.Pixel(79, 39), kBackground);
  EXPECT_EQ(bitmap.Pixel(90, 45), 0xFFFFFFu);
}

}  // namespace
}  // namespace bosquell::win32
