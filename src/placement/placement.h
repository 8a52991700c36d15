#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/map_point.h"
#include "placement/random_source.h"
#include "placement/theme_slots.h"

namespace bosquell {

// One user unit of the window's center and range fields is this many map units.
inline constexpr double kMapUnitsPerUserUnit = 256.0;

// Where the objects of one run go, in map units. The Y range is whole before it is scaled and
// its span is kept in 32-bit arithmetic; the X range and both centers may have fractions.
struct PlacementParameters {
  double centerX = 0;
  double centerY = 0;
  double rangeX = 0;
  std::int32_t rangeY = 0;
  std::int32_t yLow = 0;   // -rangeY
  std::int32_t ySpan = 0;  // 2 * rangeY + 1

  bool operator==(const PlacementParameters&) const = default;
};

// Reads the four texts the way the window reads its boxes. Returns nothing when a value leaves
// the range the draw can handle: a Y range whose rounded, scaled or doubled value overflows
// 32 bits, or a center and range that could put a position beyond a 32-bit map coordinate.
std::optional<PlacementParameters> MakePlacement(std::string_view centerXText,
                                                 std::string_view centerYText,
                                                 std::string_view rangeXText,
                                                 std::string_view rangeYText);

// The same from the values the four texts read as, in user units: a recipe's rectangle.
std::optional<PlacementParameters> MakePlacement(double centerX, double centerY, double rangeX,
                                                 double rangeY);

// Whether a position fits a map coordinate: maps keep them in signed 32-bit integers.
bool FitsMapCoordinate(double position);

struct DrawnObject {
  std::string typeText;
  float facing = 0;  // a whole number of degrees, 0 to 359
  double x = 0;
  double y = 0;

  bool operator==(const DrawnObject&) const = default;
};

// Draws one object from four random units, in this order: type, facing, X, Y.
DrawnObject DrawObject(const PlacementParameters& parameters, const ThemeSlots& slots, int topSlot,
                       RandomSource& random);

// The facing of an object from one random unit: the whole part of r * 360, taken from the exact
// product.
float DrawFacing(RandomSource& random);

// The position of an object from two random units, X then Y: the last two draws of an object.
MapPoint DrawPosition(const PlacementParameters& parameters, RandomSource& random);

}  // namespace bosquell
