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

std::optional<PlacementParameters> MakePlacement(std::string_view centerXText,
                                                 std::string_view centerYText,
                                                 std::string_view rangeXText,
                                                 std::string_view rangeYText) {
  PlacementParameters parameters;
  parameters.centerX = TextValue(centerXText) * kMapUnitsPerUserUnit;
  parameters.centerY = TextValue(centerYText) * kMapUnitsPerUserUnit;
  parameters.rangeX = TextValue(rangeXText) * kMapUnitsPerUserUnit;
  // The X draw works on centerX +- (2 * rangeX + 1): all of it must stay finite.
  if (!std::isfinite(std::fabs(parameters.centerX) + 2 * std::fabs(parameters.rangeX) + 1) ||
      !std::isfinite(parameters.centerY)) {
    return std::nullopt;
  }

  // The Y range and its span live in 32-bit integers: every step is checked for overflow.
  const auto rangeYUnits = ToInt32(RoundHalfEven(TextValue(rangeYText)));
  if (!rangeYUnits) return std::nullopt;
  const auto rangeY = ToInt32(std::int64_t{*rangeYUnits} * 256);
  if (!rangeY) return std::nullopt;
  const auto yLow = ToInt32(-std::int64_t{*rangeY});
  const auto twiceRangeY = ToInt32(std::int64_t{*rangeY} * 2);
  if (!yLow || !twiceRangeY) return std::nullopt;
  const auto ySpan = ToInt32(std::int64_t{*twiceRangeY} + 1);
  if (!ySpan) return std::nullopt;

  parameters.rangeY = *rangeY;
  parameters.yLow = *yLow;
  parameters.ySpan = *ySpan;
  return parameters;
}

DrawnObject DrawObject(const PlacementParameters& parameters, const ThemeSlots& slots, int topSlot,
                       RandomSource& random) {
  DrawnObject object;
  object.typeText = Pick(slots, topSlot, random.RandomUnit());
  // Facing: the whole part of r * 360, taken from the exact product.
  object.facing = static_cast<float>(std::floor(static_cast<double>(random.RandomUnit()) * 360.0));
  object.x =
      RandomInt(-parameters.rangeX, parameters.rangeX, random.RandomUnit()) + parameters.centerX;
  const double r4 = random.RandomUnit();
  object.y =
      std::floor(static_cast<double>(parameters.ySpan) * r4 + parameters.yLow) + parameters.centerY;
  return object;
}

}  // namespace bosquell
