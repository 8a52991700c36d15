#pragma once

#include <cmath>
#include <random>
#include <vector>

#include "recipe/recipe.h"

namespace bosquell::testing {

// Shapes and layers drawn at random for property tests, in user units. Corners and points fall
// on whole map units (multiples of 1/256), so that the tests also ask about points exactly on
// edges, or have fractions, by `fractions`.
class RandomLayers {
 public:
  explicit RandomLayers(unsigned seed, bool fractions = false)
      : engine_(seed), fractions_(fractions) {}

  double Uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(engine_);
  }
  int Whole(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  // A value on the map-unit grid, unless fractions are on.
  double Snap(double value) const { return fractions_ ? value : std::round(value * 256) / 256; }
  double Coordinate(double low, double high) { return Snap(Uniform(low, high)); }

  // A polygon that does not cross itself: `corners` corners about `center` in order of angle,
  // each at its own distance out to `radius`.
  PolygonArea StarPolygon(UserPoint center, double radius, int corners);
  // A wandering line of `points` points from `start`.
  CorridorArea Road(UserPoint start, int points, double step, double width);
  // Any one of the four shapes within `reach` of `center`, of modest size.
  AreaShape AnyShape(UserPoint center, double reach);
  // 1 to 3 includes and 0 to 3 excludes about the origin.
  std::vector<Area> AnyAreas(double reach);

 private:
  std::mt19937 engine_;
  bool fractions_;
};

}  // namespace bosquell::testing
