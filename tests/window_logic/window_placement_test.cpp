// Where the map opens beside the main window on a 1000 x 700 work area.

#include "window_logic/window_placement.h"

#include <gtest/gtest.h>

namespace bosquell::testing {
namespace {

TEST(WindowPlacement, TheMapOpensBesideTheMainWindowWithinTheWorkArea) {
  const ScreenRect work{0, 0, 1000, 700};
  struct Case {
    ScreenRect main;
    int width;
    int height;
    int minimumWidth;
    ScreenRect placed;
  } cases[] = {
      {{10, 20, 410, 320}, 500, 400, 500, {410, 20, 910, 420}},      // right of it
      {{500, 20, 900, 320}, 450, 400, 450, {50, 20, 500, 420}},      // left of it
      {{300, 500, 700, 690}, 400, 400, 400, {600, 300, 1000, 700}},  // raised, and pushed in
      {{300, 20, 650, 320}, 400, 400, 400, {600, 20, 1000, 420}},    // the side with more room
      {{400, 20, 800, 320}, 500, 400, 500, {0, 20, 500, 420}},       // more room on the left
      {{400, 20, 800, 320}, 500, 400, 300, {0, 20, 400, 420}},       // narrowed beside it
      {{300, 500, 700, 690}, 400, 400, 0, {700, 300, 1000, 700}},    // narrowed, raised
      {{10, 20, 410, 320}, 1500, 900, 1500, {0, 0, 1000, 700}},      // no larger than the work area
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceBeside(c.main, c.width, c.height, work, c.minimumWidth), c.placed)
        << c.main.left << " " << c.minimumWidth;
  }
}

}  // namespace
}  // namespace bosquell::testing
