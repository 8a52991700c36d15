#include "placement/placement_rules.h"

#include <cmath>

#include "common/number_text.h"

namespace bosquell {

std::optional<double> RuleDistance(std::string_view text) {
  if (text.find_first_not_of(' ') == std::string_view::npos) return 0.0;
  if (!TextIsNumeric(text)) return std::nullopt;
  const double distance = TextValue(text) * kMapUnitsPerUserUnit;
  if (!(distance >= 0) || !std::isfinite(distance)) return std::nullopt;
  return distance;
}

MapRectangle PlacementArea(const PlacementParameters& parameters) {
  const double reachX = std::ceil(parameters.rangeX);
  return {parameters.centerX - reachX, parameters.centerY + parameters.yLow,
          parameters.centerX + reachX, parameters.centerY + parameters.rangeY};
}

}  // namespace bosquell
