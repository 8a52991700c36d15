// The layer draws: the main window's draw where a layer is its boxes, and each pattern's
// promises over many seeds and random layers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "placement/compiled_layer.h"
#include "placement/layer_draw.h"
#include "placement/object_draw.h"
#include "placement/type_mix.h"
#include "random_layers.h"

namespace bosquell {
namespace {

constexpr std::size_t kRoom = 32766;

Layer LayerOf(std::vector<Area> areas, Pattern pattern, int count) {
  Layer layer;
  layer.mix = ThemeMix{"Jungel"};
  layer.pattern = pattern;
  layer.count = count;
  layer.areas = std::move(areas);
  return layer;
}

Area Square(double x, double y, double half, bool exclude = false) {
  return {RectangleArea{{x, y}, {half, half}}, exclude};
}

DrawnLayer Draw(const Layer& layer, unsigned seed, const SortedPointGrid* existing = nullptr,
                std::span<const DrawnObject> earlier = {}, std::size_t room = kRoom) {
  MersenneRandom random(seed);
  return DrawLayer(CompileLayer(layer).value(), existing, earlier, room, random);
}

std::vector<MapPoint> PositionsOf(const std::vector<DrawnObject>& objects) {
  std::vector<MapPoint> positions;
  for (const DrawnObject& object : objects) positions.push_back({object.x, object.y});
  return positions;
}

double MeanNearestNeighbour(const std::vector<MapPoint>& points) {
  double sum = 0;
  for (const MapPoint& a : points) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const MapPoint& b : points) {
      if (&a != &b) nearest = std::min(nearest, std::hypot(a.x - b.x, a.y - b.y));
    }
    sum += nearest;
  }
  return sum / static_cast<double>(points.size());
}

// Where the layer is the main window's boxes, the layer's draw is the window's draw, for any
// seed, theme or own id, keep-clear and spacing, complete or not.
TEST(LayerDraw, OneRectangleDrawsAsTheMainWindow) {
  int incomplete = 0;
  for (unsigned seed = 0; seed < 300; ++seed) {
    SCOPED_TRACE(seed);
    testing::RandomLayers random(seed, true);
    const RectangleArea rectangle{{random.Uniform(-100, 100), random.Uniform(-100, 100)},
                                  {random.Uniform(1, 60), random.Uniform(1, 60)}};
    Layer layer = LayerOf({{rectangle, false}}, Pattern::kUniform, random.Whole(1, 600));
    const char* ownIds[] = {"1017", " 1055", "-4"};
    ThemeSlots slots;
    if (seed % 3 == 0) {
      layer.mix = WeightedMix{{{ownIds[seed % 9 / 3], 1}}};
      FillFromOwnId(slots, ownIds[seed % 9 / 3]);
    } else {
      layer.mix = ThemeMix{seed % 3 == 1 ? "Peru" : "Snow"};
      FillFromTheme(slots, std::get<ThemeMix>(layer.mix).name);
    }
    layer.keepClear = seed % 2 == 0 ? random.Uniform(0.5, 8) : 0;
    layer.spacing = seed % 5 < 3 ? random.Uniform(0.5, seed % 7 == 0 ? 12 : 3) : 0;
    const PlacementParameters placement =
        MakePlacement(rectangle.center.x, rectangle.center.y, rectangle.range.x, rectangle.range.y)
            .value();
    const PlacementRules rules{layer.keepClear * 256, layer.spacing * 256};
    SortedPointGrid::Builder builder(PlacementArea(placement), rules.keepClear);
    for (int i = 0; i < 200; ++i) {
      builder.Add({placement.centerX + random.Uniform(-1.2, 1.2) * placement.rangeX,
                   placement.centerY + random.Uniform(-1.2, 1.2) * placement.rangeY});
    }
    const SortedPointGrid existing = std::move(builder).Build();

    MersenneRandom windowRandom(seed);
    MersenneRandom layerRandom(seed);
    const DrawnObjects window =
        DrawObjects(placement, slots, TopSlot(slots), layer.count, rules, &existing, windowRandom);
    const DrawnLayer drawn =
        DrawLayer(CompileLayer(layer).value(), &existing, {}, kRoom, layerRandom);
    ASSERT_EQ(drawn.objects, window.objects);
    EXPECT_EQ(drawn.outcome == DrawnLayer::Outcome::kComplete, window.complete);
    EXPECT_EQ(layerRandom.RandomUnit(), windowRandom.RandomUnit());  // as many draws
    incomplete += window.complete ? 0 : 1;
  }
  EXPECT_GT(incomplete, 5);
}

// Every pattern over random areas: inside the includes and outside the excludes, in whole map
// units, no two closer than the spacing, none closer than the keep-clear distance to the
// mission's objects or an earlier layer's.
TEST(LayerDraw, EveryPatternKeepsToItsAreaAndRules) {
  for (unsigned seed = 0; seed < 60; ++seed) {
    SCOPED_TRACE(seed);
    testing::RandomLayers random(seed);
    const auto pattern = static_cast<Pattern>(seed % 3);
    Layer layer = LayerOf(random.AnyAreas(60), pattern, random.Whole(50, 400));
    layer.spacing = random.Uniform(pattern == Pattern::kEven ? 1 : 0, 3);
    layer.keepClear = random.Uniform(0, 4);
    layer.fill = pattern == Pattern::kEven && seed % 2 == 0;
    layer.clumps = random.Whole(1, 12);
    layer.clumpRadius = random.Uniform(0, 15);
    std::vector<MapPoint> existingPoints;
    std::vector<DrawnObject> earlier;
    SortedPointGrid::Builder builder(CompileLayer(layer)->DrawArea(), layer.keepClear * 256);
    for (int i = 0; i < 300; ++i) {
      const MapPoint at{std::round(random.Uniform(-70, 70) * 256),
                        std::round(random.Uniform(-70, 70) * 256)};
      (i % 2 == 0      ? existingPoints.push_back(at),
       builder.Add(at) : earlier.push_back({"1", 0, at.x, at.y}));
    }
    const SortedPointGrid existing = std::move(builder).Build();
    const DrawnLayer drawn = Draw(layer, seed, &existing, earlier);
    ASSERT_NE(drawn.outcome, DrawnLayer::Outcome::kOverfilled);

    const CompiledLayer compiled = CompileLayer(layer).value();
    for (const Area& area : layer.areas) {
      const MapShape shape = ShapeInMapUnits(area.shape, area.exclude).value();
      const auto inside = [&](const DrawnObject& o) { return InShape(shape, {o.x, o.y}); };
      if (area.exclude) {
        EXPECT_TRUE(std::none_of(drawn.objects.begin(), drawn.objects.end(), inside));
      }
    }
    const std::vector<MapPoint> placed = PositionsOf(drawn.objects);
    for (std::size_t i = 0; i < placed.size(); ++i) {
      ASSERT_TRUE(compiled.area.Contains(placed[i]));
      ASSERT_EQ(placed[i].x, std::floor(placed[i].x));
      ASSERT_EQ(placed[i].y, std::floor(placed[i].y));
      for (std::size_t j = 0; j < i; ++j) {
        ASSERT_FALSE(CloserThan(placed[i], placed[j], compiled.rules.spacing));
      }
      for (const MapPoint& at : existingPoints) {
        ASSERT_FALSE(CloserThan(placed[i], at, compiled.rules.keepClear));
      }
      for (const DrawnObject& object : earlier) {
        ASSERT_FALSE(CloserThan(placed[i], {object.x, object.y}, compiled.rules.keepClear));
      }
    }
  }
}

TEST(TypeMix, WeightedPickFollowsTheWeights) {
  const TypeMix mix = TypeMix::Weighted({"1017", "1134", "4075"}, {3, 1, 0.5}).value();
  // Over an even sweep of the unit the shares are exact up to one step.
  std::map<std::string, int> picked;
  for (int i = 0; i < 9000; ++i) ++picked[mix.Pick(static_cast<float>(i) / 9000)];
  EXPECT_NEAR(picked["1017"], 6000, 1);
  EXPECT_NEAR(picked["1134"], 2000, 1);
  EXPECT_NEAR(picked["4075"], 1000, 1);
  EXPECT_EQ(mix.Pick(0.99999994f), "4075");

  // And a layer's objects show them.
  Layer layer = LayerOf({Square(0, 0, 200)}, Pattern::kUniform, 20000);
  layer.mix = WeightedMix{{{"1017", 3}, {"1134", 1}, {"4075", 0.5}}};
  std::map<std::string, int> drawn;
  for (const DrawnObject& object : Draw(layer, 5).objects) ++drawn[object.typeText];
  EXPECT_NEAR(drawn["1017"] / 20000.0, 3 / 4.5, 0.015);
  EXPECT_NEAR(drawn["4075"] / 20000.0, 0.5 / 4.5, 0.015);

  for (const std::vector<double>& weights : std::vector<std::vector<double>>{
           {1, 0}, {-1, 2}, {std::nan(""), 1}, {INFINITY, 1}, {1e308, 1e308}}) {
    EXPECT_FALSE(TypeMix::Weighted({"1", "2"}, weights).has_value());
  }
}

// A count of "even" is spread over the whole area, not a patch grown from one point.
TEST(EvenPattern, ACountSpreadsOverTheWholeArea) {
  for (unsigned seed = 0; seed < 5; ++seed) {
    Layer layer = LayerOf({Square(0, 0, 512)}, Pattern::kEven, 300);
    layer.spacing = 4;
    const DrawnLayer drawn = Draw(layer, seed);
    ASSERT_EQ(drawn.objects.size(), 300u);
    int cells[4][4] = {};
    for (const DrawnObject& o : drawn.objects) {
      ++cells[std::min(3, static_cast<int>((o.x / 256 + 512) / 256))]
             [std::min(3, static_cast<int>((o.y / 256 + 512) / 256))];
    }
    for (const auto& column : cells) {
      for (const int objects : column) EXPECT_GE(objects, 5) << seed;
    }
  }
}

// A fill reaches every part of an area in pieces, however far apart, even a small one.
TEST(EvenPattern, AFillReachesEveryPartOfTheArea) {
  Layer layer =
      LayerOf({Square(-300, 0, 40), Square(300, 100, 40), Square(0, -400, 3)}, Pattern::kEven, 0);
  layer.areas.push_back(Square(300, 100, 10, true));  // a clearing in the second part
  layer.fill = true;
  layer.spacing = 2;
  const DrawnLayer drawn = Draw(layer, 11);
  ASSERT_EQ(drawn.outcome, DrawnLayer::Outcome::kComplete);
  int parts[3] = {};
  for (const DrawnObject& o : drawn.objects) ++parts[o.y < -300 * 256 ? 2 : o.x < 0 ? 0 : 1];
  // Bridson's sampling packs a little under one object to a square spacing.
  EXPECT_NEAR(parts[0], 80 * 80 / 4 * 0.65, 80 * 80 / 4 * 0.15);
  EXPECT_NEAR(parts[1], (80 * 80 - 20 * 20) / 4 * 0.65, 80 * 80 / 4 * 0.15);
  EXPECT_GE(parts[2], 5);

  // More than the room: the fill says so and gives nothing.
  EXPECT_EQ(Draw(layer, 11, nullptr, {}, 100).outcome, DrawnLayer::Outcome::kOverfilled);
  // A count beyond what fits gives all that fit, and says it is not all.
  layer.fill = false;
  layer.count = 20000;
  const DrawnLayer some = Draw(layer, 11);
  EXPECT_EQ(some.outcome, DrawnLayer::Outcome::kIncomplete);
  EXPECT_GT(some.objects.size(), 1500u);
}

TEST(ClumpedPattern, LiesInClumps) {
  Layer layer = LayerOf({Square(0, 0, 500)}, Pattern::kClumped, 1000);
  layer.clumps = 10;
  layer.clumpRadius = 15;
  const DrawnLayer clumped = Draw(layer, 3);
  layer.pattern = Pattern::kUniform;
  const DrawnLayer uniform = Draw(layer, 3);
  ASSERT_EQ(clumped.objects.size(), 1000u);
  EXPECT_LT(MeanNearestNeighbour(PositionsOf(clumped.objects)),
            0.3 * MeanNearestNeighbour(PositionsOf(uniform.objects)));
}

TEST(CompileLayer, RefusesWhatTheDrawCannotHandle) {
  const Layer good = LayerOf({Square(0, 0, 10)}, Pattern::kUniform, 5);
  ASSERT_TRUE(CompileLayer(good).has_value());
  const auto with = [&](auto change) {
    Layer layer = good;
    change(layer);
    return CompileLayer(layer).has_value();
  };
  const auto shape = [&](AreaShape s, bool exclude = false) {
    return with([&](Layer& l) { l.areas.push_back({s, exclude}); });
  };
  EXPECT_FALSE(with([](Layer& l) { l.areas[0].exclude = true; }));
  EXPECT_FALSE(shape(PolygonArea{{{0, 0}, {1, 0}}}));
  EXPECT_FALSE(shape(CorridorArea{{{0, 0}}, 2}));
  EXPECT_FALSE(shape(CorridorArea{{{0, 0}, {5, 5}}, 0}));
  EXPECT_FALSE(shape(CircleArea{{0, 0}, -1}, true));
  EXPECT_FALSE(shape(CircleArea{{0, 0}, std::nan("")}));
  EXPECT_FALSE(shape(PolygonArea{{{0, 0}, {9e6, 0}, {0, 1}}}, true));  // beyond 32 bits
  EXPECT_FALSE(shape(CircleArea{{8e6, 0}, 5e5}));         // an include reaching beyond the map
  EXPECT_TRUE(shape(CircleArea{{8e6, 0}, 1e300}, true));  // an exclude may
  EXPECT_FALSE(shape(RectangleArea{{0, 0}, {-1, 4}}));
  EXPECT_FALSE(with([](Layer& l) {  // 2^31 map units from south to north
    l.areas = {Square(0, 4194304, 0), Square(0, -4194304, 0)};
  }));
  EXPECT_TRUE(with([](Layer& l) { l.areas = {Square(0, 4194302, 0), Square(0, -4194304, 0)}; }));
  EXPECT_FALSE(with([](Layer& l) { l.mix = ThemeMix{"snow"}; }));
  EXPECT_FALSE(with([](Layer& l) { l.mix = WeightedMix{}; }));
  EXPECT_FALSE(with([](Layer& l) { l.count = -1; }));
  EXPECT_FALSE(with([](Layer& l) { l.spacing = std::nan(""); }));
  EXPECT_FALSE(with([](Layer& l) { l.keepClear = 1e307; }));
  EXPECT_FALSE(with([](Layer& l) { l.fill = true; }));
  EXPECT_FALSE(with([](Layer& l) { l.pattern = Pattern::kEven; }));
  EXPECT_FALSE(with([](Layer& l) { l.pattern = Pattern::kClumped; }));
}

// Every pattern and shape draws the same objects on every platform: these fingerprints hold on
// Linux and on Windows alike.
TEST(LayerDraw, DrawsTheSameOnEveryPlatform) {
  const auto fingerprint = [](const DrawnLayer& drawn) {
    std::uint64_t hash = 14695981039346656037u;
    const auto mix = [&](const void* bytes, std::size_t size) {
      for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ static_cast<const unsigned char*>(bytes)[i]) * 1099511628211u;
      }
    };
    for (const DrawnObject& o : drawn.objects) {
      mix(o.typeText.data(), o.typeText.size());
      mix(&o.facing, sizeof o.facing);
      mix(&o.x, sizeof o.x);
      mix(&o.y, sizeof o.y);
    }
    return hash;
  };
  const PolygonArea polygon{{{-40, -30.5}, {35.25, -41}, {52, 20}, {0, 44.001}, {-47, 12}}};
  const CorridorArea road{{{-60, -5}, {-10, 3.5}, {20, -2}, {60, 9}}, 3.5};
  Layer layer = LayerOf({{polygon, false},
                         {road, true},
                         {CircleArea{{20, 20}, 7.3}, true},
                         {CircleArea{{70, -40}, 9}, false},
                         Square(-55, 40, 6.5)},
                        Pattern::kUniform, 400);
  layer.mix = WeightedMix{{{"1017", 3}, {"1134", 1.5}, {"4075", 0.25}}};
  layer.spacing = 1.3;
  layer.keepClear = 2;
  layer.clumps = 7;
  layer.clumpRadius = 9.5;
  const std::vector<DrawnObject> earlier{{"1", 0, 0, 0}, {"1", 0, 2560, -2560}};
  std::vector<std::uint64_t> prints;
  for (const Pattern pattern : {Pattern::kUniform, Pattern::kEven, Pattern::kClumped}) {
    layer.pattern = pattern;
    prints.push_back(fingerprint(Draw(layer, 2024, nullptr, earlier)));
  }
  layer.fill = true;
  layer.pattern = Pattern::kEven;
  prints.push_back(fingerprint(Draw(layer, 2024, nullptr, earlier)));
  Layer boxes =
      LayerOf({{RectangleArea{{0.001, -3.3}, {40.5, 20.5}}, false}}, Pattern::kUniform, 300);
  boxes.spacing = 2;
  prints.push_back(fingerprint(Draw(boxes, 99)));
  const std::vector<std::uint64_t> expected{0xcce3a694b352adb8u, 0xfdefddc40b7cdadau,
                                            0xb29ff7b4aca293d5u, 0x888ff244fc0bb787u,
                                            0x712dbf92f24952fdu};
  EXPECT_EQ(prints, expected);
}

}  // namespace
}  // namespace bosquell
