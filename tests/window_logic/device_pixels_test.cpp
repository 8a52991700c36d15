// Logical pixels to device pixels, at the ratios screens have and at ones no screen has.

#include "window_logic/device_pixels.h"

#include <gtest/gtest.h>

#include <limits>

namespace bosquell::testing {
namespace {

TEST(DevicePixels, LengthsAndPointsFollowTheRatio) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double ratio;
    int logical;
    int device;
    PixelPoint point;
  } cases[] = {{1, 401, 401, {10.5, 3}},      {1.25, 401, 501, {13.125, 3.75}},
               {1.5, 401, 602, {15.75, 4.5}}, {2, 0, 1, {21, 6}},
               {nan, 401, 401, {10.5, 3}},    {0, 401, 401, {10.5, 3}},
               {1e300, 401, 401, {10.5, 3}}};
  for (const Case& c : cases) {
    EXPECT_EQ(DevicePixels(c.logical, c.ratio), c.device) << c.ratio;
    const PixelPoint at = DevicePoint({10.5, 3}, c.ratio);
    EXPECT_EQ(at.x, c.point.x) << c.ratio;
    EXPECT_EQ(at.y, c.point.y) << c.ratio;
  }
}

}  // namespace
}  // namespace bosquell::testing
