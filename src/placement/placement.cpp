#include "placement/placement.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/number_text.h"

namespace bosquell {
namespace {

// The value when it fits a signed 32-bit integer.
std::optional<std::int32_t> ToInt32(double value) {
  if (!(value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ToInt32(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

bool FitsMapCoordinate(double position) {
  return position >= std::numeric_limits<std::int32_t>::min() &&
         position <= std::numeric_limits<std::int32_t>::max();
}

std::optional<PlacementParameters> MakePlacement(std::string_view centerXText,
                                                 std::string_view centerYText,
                                                 std::string_view rangeXText,
                                                 std::string_view rangeYText) {
  return MakePlacement(TextValue(centerXText), TextValue(centerYText), TextValue(rangeXText),
                       TextValue(rangeYText));
}

std::optional<PlacementParameters> MakePlacement(double centerX, double centerY, double rangeX,
                                                 double rangeYUserUnits) {
  PlacementParameters parameters;
  parameters.centerX = centerX * kMapUnitsPerUserUnit;
  parameters.centerY = centerY * kMapUnitsPerUserUnit;
  parameters.rangeX = rangeX * kMapUnitsPerUserUnit;
  // The X draw lands within ceil(rangeX) of the center: every such position must fit a map
  // coordinate. (NaN fails every comparison and is refused with the rest.)
  const double reachX = std::ceil(parameters.rangeX);
  if (!FitsMapCoordinate(parameters.centerX - reachX) ||
      !FitsMapCoordinate(parameters.centerX + reachX)) {
    return std::nullopt;
  }

  // The Y range and its span live in 32-bit integers: every step is checked for overflow.
  const auto rangeYUnits = ToInt32(RoundHalfEven(rangeYUserUnits));
  if (!rangeYUnits) return std::nullopt;
  const auto rangeY = ToInt32(std::int64_t{*rangeYUnits} * 256);
  if (!rangeY) return std::nullopt;
  const auto yLow = ToInt32(-std::int64_t{*rangeY});
  const auto twiceRangeY = ToInt32(std::int64_t{*rangeY} * 2);
  if (!yLow || !twiceRangeY) return std::nullopt;
  const auto ySpan = ToInt32(std::int64_t{*twiceRangeY} + 1);
  if (!ySpan) return std::nullopt;

  if (!FitsMapCoordinate(parameters.centerY + *yLow) ||
      !FitsMapCoordinate(parameters.centerY + *rangeY)) {
    return std::nullopt;
  }

  parameters.rangeY = *rangeY;
  parameters.yLow = *yLow;
  parameters.ySpan = *ySpan;
  return parameters;
}

DrawnObject DrawObject(const PlacementParameters& parameters, const ThemeSlots& slots, int topSlot,
                       RandomSource& random) {
  DrawnObject object;
  object.typeText = Pick(slots, topSlot, random.RandomUnit());
  object.facing = DrawFacing(random);
  const MapPoint at = DrawPosition(parameters, random);
  object.x = at.x;
  object.y = at.y;
  return object;
}

float DrawFacing(RandomSource& random) {
  return static_cast<float>(std::floor(static_cast<double>(random.RandomUnit()) * 360.0));
}

MapPoint DrawPosition(const PlacementParameters& parameters, RandomSource& random) {
  const double x =
      RandomInt(-parameters.rangeX, parameters.rangeX, random.RandomUnit()) + parameters.centerX;
  const double r4 = random.RandomUnit();
  const double y =
      std::floor(static_cast<double>(parameters.ySpan) * r4 + parameters.yLow) + parameters.centerY;
  return {x, y};
}

}  // namespace bosquell
