#include "placement/compiled_layer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "placement/object_draw.h"

namespace bosquell {
namespace {

// Farther than any two points of the 32-bit map lie apart: a longer radius or half-width
// answers every test on the map as this one does.
constexpr double kLongestDistance = 0x1p34;
constexpr double kLowestCoordinate = std::numeric_limits<std::int32_t>::min();
constexpr double kHighestCoordinate = std::numeric_limits<std::int32_t>::max();

// A distance in map units, when it is a number 0 or greater.
std::optional<double> MapDistance(double userUnits) {
  const double distance = userUnits * kMapUnitsPerUserUnit;
  if (!(distance >= 0) || !std::isfinite(distance)) return std::nullopt;
  return distance;
}

// A positive length in map units, no longer than needed.
std::optional<double> MapLength(double userUnits) {
  const std::optional<double> length = MapDistance(userUnits);
  if (!length || !(*length > 0)) return std::nullopt;
  return std::min(*length, kLongestDistance);
}

std::optional<MapPoint> MapPosition(UserPoint point) {
  const MapPoint at{point.x * kMapUnitsPerUserUnit, point.y * kMapUnitsPerUserUnit};
  if (!FitsMapCoordinate(at.x) || !FitsMapCoordinate(at.y)) return std::nullopt;
  return at;
}

std::optional<std::vector<MapPoint>> MapPositions(const std::vector<UserPoint>& points) {
  std::vector<MapPoint> positions;
  for (const UserPoint& point : points) {
    const std::optional<MapPoint> at = MapPosition(point);
    if (!at) return std::nullopt;
    positions.push_back(*at);
  }
  return positions;
}

bool FitsMap(const MapRectangle& extent) {
  return FitsMapCoordinate(extent.left) && FitsMapCoordinate(extent.right) &&
         FitsMapCoordinate(extent.bottom) && FitsMapCoordinate(extent.top);
}

std::optional<PlacementParameters> RectanglePlacement(const RectangleArea& rectangle) {
  if (!(rectangle.range.x >= 0 && rectangle.range.y >= 0)) return std::nullopt;
  return MakePlacement(rectangle.center.x, rectangle.center.y, rectangle.range.x,
                       rectangle.range.y);
}

std::optional<TypeMix> MixOf(const Mix& mix) {
  if (const auto* theme = std::get_if<ThemeMix>(&mix)) {
    ThemeSlots slots;
    FillFromTheme(slots, theme->name);
    std::optional<ObjectTypes> types = ObjectTypes::FromSlots(std::move(slots));
    if (!types) return std::nullopt;
    return TypeMix(std::move(*types));
  }
  std::vector<std::string> typeTexts;
  std::vector<double> weights;
  for (const WeightedType& type : std::get<WeightedMix>(mix).types) {
    typeTexts.push_back(type.typeText);
    weights.push_back(type.weight);
  }
  return TypeMix::Weighted(std::move(typeTexts), weights);
}

// The whole map units from `low` to `high`, widened by one where needed so that their count is
// odd and they have a whole middle, within the map.
std::optional<std::pair<double, double>> WholeSpan(double low, double high) {
  double first = std::max(std::ceil(low), kLowestCoordinate);
  double last = std::max(std::min(std::floor(high), kHighestCoordinate), first);
  if (std::fmod(last - first, 2) != 0) {
    if (last < kHighestCoordinate) {
      last += 1;
    } else {
      first -= 1;
    }
  }
  if (!FitsMapCoordinate(first) || !FitsMapCoordinate(last)) return std::nullopt;
  return std::pair{first, last};
}

// The placement that draws the whole map units of `bounds`, X and Y from a whole center.
std::optional<PlacementParameters> WholeBox(const MapRectangle& bounds) {
  const auto across = WholeSpan(bounds.left, bounds.right);
  const auto along = WholeSpan(bounds.bottom, bounds.top);
  // The Y draw keeps 2 * range + 1 in 32 bits.
  if (!across || !along || along->second - along->first + 1 > kHighestCoordinate) {
    return std::nullopt;
  }
  PlacementParameters box;
  box.centerX = (across->first + across->second) / 2;
  box.rangeX = (across->second - across->first) / 2;
  box.centerY = (along->first + along->second) / 2;
  box.rangeY = static_cast<std::int32_t>((along->second - along->first) / 2);
  box.yLow = -box.rangeY;
  box.ySpan = 2 * box.rangeY + 1;
  return box;
}

bool IsOneRectangle(const Layer& layer) {
  return layer.areas.size() == 1 && !layer.areas[0].exclude &&
         std::holds_alternative<RectangleArea>(layer.areas[0].shape);
}

}  // namespace

std::optional<MapShape> ShapeInMapUnits(const AreaShape& shape, bool exclude) {
  if (const auto* rectangle = std::get_if<RectangleArea>(&shape)) {
    const std::optional<PlacementParameters> placement = RectanglePlacement(*rectangle);
    if (!placement) return std::nullopt;
    return PlacementArea(*placement);
  }
  std::optional<MapShape> mapped;
  if (const auto* polygon = std::get_if<PolygonArea>(&shape)) {
    auto corners = MapPositions(polygon->corners);
    if (!corners || corners->size() < 3) return std::nullopt;
    mapped = MapPolygon{std::move(*corners)};
  } else if (const auto* circle = std::get_if<CircleArea>(&shape)) {
    const std::optional<MapPoint> center = MapPosition(circle->center);
    const std::optional<double> radius = MapLength(circle->radius);
    if (!center || !radius) return std::nullopt;
    mapped = MapCircle{*center, *radius};
  } else {
    const auto& corridor = std::get<CorridorArea>(shape);
    auto points = MapPositions(corridor.points);
    const std::optional<double> width = MapLength(corridor.width);
    if (!points || points->size() < 2 || !width) return std::nullopt;
    mapped = MapCorridor{std::move(*points), *width / 2};
  }
  // Every position of an include must fit the map; an exclude may reach beyond it.
  if (!exclude && !FitsMap(Extent(*mapped))) return std::nullopt;
  return mapped;
}

std::optional<CompiledLayer> CompileLayer(const Layer& layer) {
  std::vector<MapShape> includes;
  std::vector<MapShape> excludes;
  for (const Area& area : layer.areas) {
    std::optional<MapShape> shape = ShapeInMapUnits(area.shape, area.exclude);
    if (!shape) return std::nullopt;
    (area.exclude ? excludes : includes).push_back(std::move(*shape));
  }
  if (includes.empty()) return std::nullopt;

  std::optional<TypeMix> mix = MixOf(layer.mix);
  const std::optional<double> keepClear = MapDistance(layer.keepClear);
  const std::optional<double> spacing = MapDistance(layer.spacing);
  const std::optional<double> clumpRadius = MapDistance(layer.clumpRadius);
  if (!mix || !keepClear || !spacing || !clumpRadius || layer.count < 0) return std::nullopt;
  if (layer.fill && layer.pattern != Pattern::kEven) return std::nullopt;
  if (layer.pattern == Pattern::kEven && !(*spacing > 0)) return std::nullopt;
  if (layer.pattern == Pattern::kClumped && layer.clumps < 1) return std::nullopt;

  LayerArea area(includes, excludes);
  const bool areaIsBox = IsOneRectangle(layer);
  const std::optional<PlacementParameters> box =
      areaIsBox ? RectanglePlacement(std::get<RectangleArea>(layer.areas[0].shape))
                : WholeBox(area.Bounds());
  if (!box) return std::nullopt;

  const double share = area.ReachedShare();
  const std::int64_t boxPerArea =
      share > 0 ? static_cast<std::int64_t>(std::ceil(1 / share)) : std::int64_t{1};
  const std::int64_t missesAllowed = kAttemptsPerObject * std::max<std::int64_t>(16, boxPerArea);
  return CompiledLayer{layer.pattern,
                       std::move(*mix),
                       layer.count,
                       layer.fill,
                       PlacementRules{*keepClear, *spacing},
                       layer.clumps,
                       std::min(*clumpRadius, kLongestDistance),
                       *box,
                       areaIsBox,
                       std::move(area),
                       missesAllowed};
}

}  // namespace bosquell
