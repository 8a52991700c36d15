// Reading recipes: every mistake refused with its one message, and what a good recipe reads as.

#include "recipe/recipe_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace bosquell {
namespace {

const std::string kMix = "mix = \"Jungel\"";
const std::string kCount = "count = 10";
const std::string kSquare = "rectangle = { center = [0, 0], range = [10, 10] }";

// One layer: [[layer]] on line 1, then the field lines, [[layer.area]], the area's lines.
std::string LayerText(const std::string& fields = kMix + "\n" + kCount,
                      const std::string& area = kSquare) {
  return "[[layer]]\n" + fields + "\n[[layer.area]]\n" + area + "\n";
}

// A layer of the usual mix and count, with one area whose lines start on line 5.
std::string OneArea(const std::string& area) {
  return LayerText(kMix + "\n" + kCount, area);
}

std::string MessageFor(const std::string& text) {
  const auto read = ParseRecipe(text, "r.toml");
  const std::string* message = std::get_if<std::string>(&read);
  return message != nullptr ? *message : "(read)";
}

TEST(ParseRecipe, RefusesEachMistakeWithOneMessageNamingPlaceAndField) {
  struct Case {
    std::string text;
    std::string message;
  };
  const std::string field = kMix + "\n" + kCount + "\n";
  const Case cases[] = {
      {"mix = ",
       "r.toml:1:7: not valid TOML: error while parsing key-value pair: encountered "
       "end-of-file"},
      // A header the TOML library once asserted on in debug builds.
      {"[[#",
       "r.toml:1:3: not valid TOML: error while parsing key: expected bare key starting "
       "character or string delimiter, saw '#'"},
      {"seed = 7\n", "r.toml:1:1: layer: is missing; a recipe draws one or more [[layer]] tables"},
      {"[layer]\n",
       "r.toml:1:1: layer: must be a list of tables: write [[layer]], with two brackets"},
      {"seeed = 7\n" + LayerText(),
       "r.toml:1:1: seeed: unknown field; a recipe has seed, its [background] table and its "
       "[[layer]] tables"},
      {"seed = -1\n" + LayerText(), "r.toml:1:8: seed: must be at least 0"},
      {"seed = 4294967296\n" + LayerText(), "r.toml:1:8: seed: must be at most 4294967295"},
      {LayerText(field + "colour = 1"),
       "r.toml:4:1: layer[1].colour: unknown field; a layer has mix, count, fill, pattern, "
       "spacing, keep-clear, clumps, clump-radius and its [[layer.area]] tables"},
      {LayerText(kMix + "\ncount = \"10\""),
       "r.toml:3:9: layer[1].count: must be a number, not text"},
      {LayerText(kMix + "\ncount = 2.5"), "r.toml:3:9: layer[1].count: must be a whole number"},
      {LayerText(kMix + "\ncount = 0"), "r.toml:3:9: layer[1].count: must be at least 1"},
      {LayerText(kMix),
       "r.toml:1:1: layer[1].count: is missing; give count = how many, or fill "
       "= true with pattern = \"even\""},
      {LayerText(kCount),
       "r.toml:1:1: layer[1].mix: is missing; give a theme's name, mix = \"Jungel\", or type "
       "ids with weights, mix = { 1017 = 3, 1134 = 1 }"},
      {LayerText("mix = \"Jungle\"\n" + kCount),
       "r.toml:2:7: layer[1].mix: is no built-in theme; the themes are Jungel, Zaire, Georgia, "
       "Desert, Niger, Kazhazkstan, Peru and Snow"},
      {LayerText("mix = { 1017 = 1, 1e3x = 2 }\n" + kCount),
       "r.toml:2:19: layer[1].mix.\"1e3x\": is not a type id the main window accepts: one "
       "number of at most 6 characters"},
      {LayerText("mix = { \"1234567\" = 2 }\n" + kCount),
       "r.toml:2:9: layer[1].mix.\"1234567\": is not a type id the main window accepts: one "
       "number of at most 6 characters"},
      {LayerText("mix = { 1017 = 0 }\n" + kCount),
       "r.toml:2:16: layer[1].mix.\"1017\": must be greater than 0"},
      {LayerText("mix = { 1017 = nan }\n" + kCount),
       "r.toml:2:16: layer[1].mix.\"1017\": must be a finite number"},
      {LayerText("mix = { 1017 = -inf }\n" + kCount),
       "r.toml:2:16: layer[1].mix.\"1017\": must be a finite number"},
      {LayerText("mix = { 1 = 1e308, 2 = 1e308 }\n" + kCount),
       "r.toml:2:24: layer[1].mix.\"2\": brings the sum of the weights beyond any number"},
      {LayerText("mix = {}\n" + kCount),
       "r.toml:2:7: layer[1].mix: names no type; give a theme's name, mix = \"Jungel\", or type "
       "ids with weights, mix = { 1017 = 3, 1134 = 1 }"},
      {LayerText(field + "pattern = \"random\""),
       "r.toml:4:11: layer[1].pattern: must be \"uniform\", \"even\" or \"clumped\""},
      {LayerText(field + "fill = true"),
       "r.toml:4:8: layer[1].fill: fill = true needs pattern = \"even\""},
      {LayerText(field + "fill = true\npattern = \"even\"\nspacing = 1"),
       "r.toml:3:9: layer[1].count: a layer gives a count or fill = true, not both"},
      {LayerText(field + "pattern = \"even\""),
       "r.toml:1:1: layer[1].spacing: is missing; pattern = \"even\" needs a spacing greater "
       "than 0"},
      {LayerText(field + "pattern = \"even\"\nspacing = 0"),
       "r.toml:5:11: layer[1].spacing: must be greater than 0 for pattern = \"even\""},
      {LayerText(field + "spacing = -1"), "r.toml:4:11: layer[1].spacing: must be 0 or more"},
      {LayerText(field,
                 "rectangle = { center = [0, -8000000], range = [10, 10] }\n"
                 "[[layer.area]]\nrectangle = { center = [0, 8000000], range = [10, 10] }"),
       "r.toml:5:1: layer[1].area: the include areas cannot be drawn: they reach beyond the map, "
       "or span 8388608 user units or more from south to north"},
      {LayerText(field + "keep-clear = 8388608"),
       "r.toml:4:14: layer[1].keep-clear: is too large: in map units (256 to a user unit) it "
       "leaves the 32-bit range"},
      {LayerText(field + "pattern = \"clumped\"\nclump-radius = 5"),
       "r.toml:1:1: layer[1].clumps: is missing; pattern = \"clumped\" needs clumps = how many "
       "clumps"},
      {LayerText(field + "pattern = \"clumped\"\nclumps = 3\nclump-radius = 0"),
       "r.toml:6:16: layer[1].clump-radius: must be greater than 0"},
      {LayerText(field + "clumps = 3"),
       "r.toml:4:10: layer[1].clumps: belongs to pattern = \"clumped\" only"},
      {LayerText(kMix + "\ncount = 20000") + LayerText(kMix + "\ncount = 12767"),
       "r.toml:8:9: layer[2].count: brings the layers' counts to 32767 together, more than the "
       "32766 one run adds"},
      {"[[layer]]\n" + field,
       "r.toml:1:1: layer[1].area: is missing; a layer draws inside one or more [[layer.area]] "
       "tables"},
      {OneArea(kSquare + "\nexclude = true"),
       "r.toml:4:1: layer[1].area: has only areas with exclude = true; a layer needs at least "
       "one area to draw in"},
      {OneArea("exclude = 1\n" + kSquare),
       "r.toml:5:11: layer[1].area[1].exclude: must be true or false, not a number"},
      {OneArea("exlude = true\n" + kSquare),
       "r.toml:5:1: layer[1].area[1].exlude: unknown field; an area has one shape (rectangle, "
       "polygon, circle or corridor) and exclude"},
      {OneArea("exclude = false"),
       "r.toml:4:1: layer[1].area[1]: has no shape; give one of rectangle, polygon, circle or "
       "corridor"},
      {OneArea(kSquare + "\ncircle = { center = [0, 0], radius = 1 }"),
       "r.toml:6:10: layer[1].area[1].circle: is a second shape; an area has one, and this one "
       "has a rectangle"},
      {OneArea("rectangle = { center = [0, 0], range = [1, 0.5] }"),
       "r.toml:5:40: layer[1].area[1].rectangle.range: must be 1 or more in x and in y, as in "
       "the main window's Range boxes"},
      {OneArea("rectangle = { center = [8388000, 0], range = [1000, 1] }"),
       "r.toml:5:13: layer[1].area[1].rectangle: reaches beyond the map: in map units (256 to a "
       "user unit) it leaves the 32-bit range"},
      {OneArea("rectangle = { center = [0, 0] }"),
       "r.toml:5:13: layer[1].area[1].rectangle.range: is missing; give range = [half-width, "
       "half-height]"},
      {OneArea("polygon = [[0, 0], [1, 0]]"),
       "r.toml:5:11: layer[1].area[1].polygon: must have 3 corners or more, not 2"},
      {OneArea("polygon = [[0, 0], [4, 0], [0, 4], [4, 4]]"),
       "r.toml:5:20: layer[1].area[1].polygon[2]: the edge from corner 2 to corner 3 meets the "
       "edge from corner 4 to corner 1; a polygon may not cross or touch itself"},
      {OneArea("polygon = [[0, 0], [4, 0], [8, 0]]"),
       "r.toml:5:11: layer[1].area[1].polygon: has no area: its corners lie on one line"},
      {OneArea("polygon = [[0, 0], [4, 0], [4, 4], [0, 0]]"),
       "r.toml:5:36: layer[1].area[1].polygon[4]: repeats the first corner; a polygon closes by "
       "itself, leave the last corner out"},
      {OneArea("polygon = [[0, 0], [4, 0], [4, 0], [0, 4]]"),
       "r.toml:5:28: layer[1].area[1].polygon[3]: repeats the corner before it"},
      {OneArea("polygon = [[0, 0], [4, 0], [0, inf]]"),
       "r.toml:5:32: layer[1].area[1].polygon[3][2]: must be a finite number"},
      {OneArea("polygon = [[0, 0], [4, 0], [0, 8388608]]"),
       "r.toml:5:28: layer[1].area[1].polygon[3]: lies beyond the map: in map units (256 to a "
       "user unit) it leaves the 32-bit range"},
      {OneArea("polygon = [[0, 0], [4, 0], 5]"),
       "r.toml:5:28: layer[1].area[1].polygon[3]: must be a point [x, y], not a number"},
      {OneArea("circle = { center = [0, 0], radius = 0 }"),
       "r.toml:5:38: layer[1].area[1].circle.radius: must be greater than 0"},
      {OneArea("circle = { center = [0, 0], radius = 1, r = 2 }"),
       "r.toml:5:41: layer[1].area[1].circle.r: unknown field; a circle has center and radius"},
      {OneArea("circle = { center = [-8388600, 0], radius = 9 }"),
       "r.toml:5:10: layer[1].area[1].circle: reaches beyond the map: in map units (256 to a "
       "user unit) it leaves the 32-bit range"},
      {OneArea("corridor = { points = [[0, 0]], width = 2 }"),
       "r.toml:5:23: layer[1].area[1].corridor.points: must have 2 points or more, not 1"},
      {OneArea("corridor = { points = [[0, 0], [5, 5]], width = -2 }"),
       "r.toml:5:49: layer[1].area[1].corridor.width: must be greater than 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageFor(c.text), c.message) << c.text;
}

TEST(ParseRecipe, RefusesABackgroundThatCannotBePlaced) {
  const std::string image = "[background]\nimage = \"map.png\"\n";
  const std::pair<std::string, std::string> cases[] = {
      {"[[background]]\n", "r.toml:1:1: background: must be a table, not a list"},
      {image + "corners = [[0, 1], [1, 0]]\nalpha = 1\n",
       "r.toml:4:1: background.alpha: unknown field; a background has image, corners and opacity"},
      {"[background]\ncorners = [[0, 1], [1, 0]]\n",
       "r.toml:1:1: background.image: is missing; give image = \"picture.png\", a PNG, JPEG or BMP "
       "file"},
      {"[background]\nimage = \"\"\n", "r.toml:2:9: background.image: must name a picture file"},
      {image,
       "r.toml:1:1: background.corners: is missing; give corners = [[left, top], [right, "
       "bottom]], the map positions of the picture's top-left and bottom-right corners"},
      {image + "corners = [[0, 1]]\n",
       "r.toml:3:11: background.corners: must be corners = [[left, top], [right, bottom]], the map "
       "positions of the picture's top-left and bottom-right corners"},
      {image + "corners = [[0, 1], [1, nan]]\n",
       "r.toml:3:24: background.corners[2][2]: must be a finite number"},
      {image + "corners = [[0, 1], [8388608, 0]]\n",
       "r.toml:3:20: background.corners[2]: lies beyond the map: in map units (256 to a user "
       "unit) it leaves the 32-bit range"},
      {image + "corners = [[5, 5], [5, 5]]\n",
       "r.toml:3:11: background.corners: coincide: the picture would have no size"},
      {image + "corners = [[5, 9], [5, 5]]\n",
       "r.toml:3:11: background.corners: have the same x: the picture would have no width"},
      {image + "corners = [[0, 5], [5, 5]]\n",
       "r.toml:3:11: background.corners: have the same y: the picture would have no height"},
      {image + "corners = [[0, 0], [5, 5]]\n",
       "r.toml:3:11: background.corners: the first corner, the picture's top-left, must lie left "
       "of and above the second, its bottom-right (y grows northwards)"},
      {image + "corners = [[0, 1], [1, 0]]\nopacity = 1.5\n",
       "r.toml:4:11: background.opacity: must be from 0 (only white) to 1 (the picture as it is)"},
      {image + "corners = [[0, 1], [1, 0]]\nopacity = -inf\n",
       "r.toml:4:11: background.opacity: must be a finite number"},
  };
  for (const auto& [text, message] : cases) {
    EXPECT_EQ(MessageFor(text + LayerText()), message) << text;
  }
}

TEST(ParseRecipe, ReadsEveryFieldInTheFilesOrder) {
  const std::string text =
      "seed = 4294967295\n[background]\nimage = \"../maps/t\u00e9rrain.png\"\n"
      "corners = [[-10.5, 20], [30, -4e3]]\nopacity = 0.25\n" +
      LayerText(
          "mix = { 1134 = 1, \" 1017\" = 2.5, -5 = 1e-3 }\nfill = true\npattern = "
          "\"even\"\nspacing = 4\nkeep-clear = 0.5",
          "circle = { center = [1, -2], radius = 3 }\n[[layer.area]]\ncorridor = { points "
          "= [[0, 0], [1e3, 7.25]], width = 6 }\nexclude = true") +
      LayerText(kMix + "\ncount = 32765\npattern = \"clumped\"\nclumps = 32766.0\nclump-radius = 2",
                "polygon = [[0, 0], [4, 0], [0, 4]]");
  Recipe expected;
  expected.seed = 4294967295u;
  expected.background = Background{"../maps/t\u00e9rrain.png", {-10.5, 20}, {30, -4000}, 0.25};
  Layer& even = expected.layers.emplace_back();
  even.mix = WeightedMix{{{"1134", 1}, {" 1017", 2.5}, {"-5", 1e-3}}};
  even.fill = true;
  even.pattern = Pattern::kEven;
  even.spacing = 4;
  even.keepClear = 0.5;
  even.areas = {{CircleArea{{1, -2}, 3}, false}, {CorridorArea{{{0, 0}, {1000, 7.25}}, 6}, true}};
  Layer& clumped = expected.layers.emplace_back();
  clumped.mix = ThemeMix{"Jungel"};
  clumped.count = 32765;
  clumped.pattern = Pattern::kClumped;
  clumped.clumps = 32766;
  clumped.clumpRadius = 2;
  clumped.areas = {{PolygonArea{{{0, 0}, {4, 0}, {0, 4}}}, false}};
  const auto read = ParseRecipe(text, "r.toml");
  ASSERT_TRUE(std::holds_alternative<Recipe>(read)) << std::get<std::string>(read);
  EXPECT_EQ(std::get<Recipe>(read), expected);
}

}  // namespace
}  // namespace bosquell
