// Writing recipes: the text of a recipe, and random recipes that read back bit for bit.

#include "recipe/recipe_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "recipe/recipe_reader.h"

namespace bosquell {
namespace {

TEST(RecipeText, WritesTheFieldsInTheDocumentedOrder) {
  Recipe recipe;
  recipe.seed = 7;
  recipe.background = Background{"maps/a \"b\".png", {-1, 2.5}, {1e3, -0.0}, 1};
  Layer& uniform = recipe.layers.emplace_back();
  uniform.mix = WeightedMix{{{"1017", 3}, {" 1e3", 0.1}, {"-5", 1e20}}};
  uniform.count = 500;
  uniform.spacing = 4;
  uniform.keepClear = -0.0;
  uniform.areas = {{RectangleArea{{0, -0.5}, {1024, 1.5}}, false},
                   {PolygonArea{{{-100, -50}, {120, -40}, {80, 1e-7}}}, false},
                   {CircleArea{{30, 20}, 15}, true}};
  Layer& clumped = recipe.layers.emplace_back();
  clumped.mix = ThemeMix{"Jungel"};
  clumped.fill = true;
  clumped.pattern = Pattern::kClumped;
  clumped.clumps = 12;
  clumped.clumpRadius = 20;
  clumped.areas = {{CorridorArea{{{-200, 0}, {2e15, 10}}, 6}, false}};
  EXPECT_EQ(RecipeText(recipe),
            "seed = 7\n"
            "\n"
            "[background]\n"
            "image = \"maps/a \\\"b\\\".png\"\n"
            "corners = [[-1, 2.5], [1000, -0.0]]\n"
            "\n"
            "[[layer]]\n"
            "mix = { \"1017\" = 3, \" 1e3\" = 0.1, \"-5\" = 1e+20 }\n"
            "count = 500\n"
            "pattern = \"uniform\"\n"
            "spacing = 4\n"
            "keep-clear = -0.0\n"
            "  [[layer.area]]\n"
            "  rectangle = { center = [0, -0.5], range = [1024, 1.5] }\n"
            "  [[layer.area]]\n"
            "  polygon = [[-100, -50], [120, -40], [80, 1e-07]]\n"
            "  [[layer.area]]\n"
            "  circle = { center = [30, 20], radius = 15 }\n"
            "  exclude = true\n"
            "\n"
            "[[layer]]\n"
            "mix = \"Jungel\"\n"
            "fill = true\n"
            "pattern = \"clumped\"\n"
            "clumps = 12\n"
            "clump-radius = 20\n"
            "  [[layer.area]]\n"
            "  corridor = { points = [[-200, 0], [2e+15, 10]], width = 6 }\n");
  EXPECT_EQ(QuotedTomlText("a\"b\\c\n\x7f"), "\"a\\\"b\\\\c\\u000A\\u007F\"");
}

// Random recipes that the reader accepts, with numbers of every kind a double can hold.
class RandomRecipes {
 public:
  explicit RandomRecipes(unsigned seed) : random_(seed) {}

  Recipe Next() {
    Recipe recipe;
    if (Chance(0.5)) recipe.seed = static_cast<std::uint32_t>(random_());
    if (Chance(0.3)) {
      const UserPoint topLeft = Point(1e6);
      const UserPoint size{Uniform(1e-3, 1e6), Uniform(1e-3, 1e6)};
      recipe.background = Background{Chance(0.5) ? "t\u00e9rrain.png" : "C:\\maps\\a.bmp",
                                     topLeft,
                                     {topLeft.x + size.x, topLeft.y - size.y},
                                     Chance(0.5) ? 1 : Uniform(0, 1)};
    }
    int countLeft = 32766;
    for (int i = 0, layers = Whole(1, 3); i < layers; ++i) {
      Layer& layer = recipe.layers.emplace_back(RandomLayer());
      if (!layer.fill) countLeft -= layer.count = Whole(1, countLeft - (layers - 1 - i));
    }
    return recipe;
  }

 private:
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  int Whole(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
  double Uniform(double low, double high) {
    return std::uniform_real_distribution(low, high)(random_);
  }
  // Whole, with any fraction, tiny, negative zero: what a user or a map window might write.
  double Number(double low, double high) {
    switch (Whole(0, 3)) {
      case 0:
        return std::round(Uniform(low, high));
      case 1:
        return Uniform(low, high) * 1e-7;
      case 2:
        return -0.0;
      default:
        return Uniform(low, high);
    }
  }
  double Positive(double high) { return Chance(0.2) ? 1e-300 : Uniform(0, high) + 1e-9; }
  UserPoint Point(double reach) { return {Number(-reach, reach), Number(-reach, reach)}; }

  Mix RandomMix() {
    if (Chance(0.3)) return ThemeMix{Chance(0.5) ? "Kazhazkstan" : "Snow"};
    const char* ids[] = {"1017", "-5", " 12", "1e3", "+7", ".5", "0", "123456", "4075 "};
    WeightedMix mix;
    for (const char* id : ids) {
      if (Chance(0.4)) mix.types.push_back({id, Positive(1e6)});
    }
    if (mix.types.empty()) mix.types.push_back({"1017", 1});
    std::shuffle(mix.types.begin(), mix.types.end(), random_);
    return mix;
  }

  AreaShape RandomShape() {
    const UserPoint center = Point(1e6);
    switch (Whole(0, 3)) {
      case 0:
        return RectangleArea{center, {Uniform(1, 1e4), Chance(0.5) ? 1 : Uniform(1, 1e4)}};
      case 1: {
        // Star-shaped around the center, corners in order of angle: never crossing itself.
        PolygonArea polygon;
        const int corners = Whole(3, 12);
        for (int i = 0; i < corners; ++i) {
          const double angle = 6.283185307179586 * (i + Uniform(0, 0.5)) / corners;
          const double radius = Uniform(100, 1e4);
          polygon.corners.push_back(
              {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)});
        }
        return polygon;
      }
      case 2:
        return CircleArea{center, Positive(1e4)};
      default: {
        CorridorArea corridor{{}, Positive(100)};
        for (int i = 0, points = Whole(2, 6); i < points; ++i)
          corridor.points.push_back(Point(1e6));
        return corridor;
      }
    }
  }

  Layer RandomLayer() {
    Layer layer;
    layer.mix = RandomMix();
    layer.pattern = static_cast<Pattern>(Whole(0, 2));
    layer.fill = layer.pattern == Pattern::kEven && Chance(0.5);
    layer.spacing = layer.pattern == Pattern::kEven || Chance(0.5) ? Positive(50) : Number(0, 50);
    layer.keepClear = Chance(0.5) ? Positive(50) : Number(0, 50);
    if (layer.pattern == Pattern::kClumped) {
      layer.clumps = Whole(1, 32766);
      layer.clumpRadius = Positive(1e3);
    }
    layer.areas.push_back({RandomShape(), false});
    for (int i = 0, more = Whole(0, 3); i < more; ++i) {
      layer.areas.push_back({RandomShape(), Chance(0.5)});
    }
    return layer;
  }

  std::mt19937 random_;
};

TEST(RecipeText, RandomRecipesReadBackBitForBit) {
  RandomRecipes recipes(24);
  for (int i = 0; i < 2000; ++i) {
    const Recipe recipe = recipes.Next();
    const std::string text = RecipeText(recipe);
    const auto read = ParseRecipe(text, "random.toml");
    ASSERT_TRUE(std::holds_alternative<Recipe>(read)) << std::get<std::string>(read) << "\n"
                                                      << text;
    EXPECT_EQ(std::get<Recipe>(read), recipe) << text;
    // The shortest digits tell every double apart, -0 from 0 included: equal texts, equal bits.
    EXPECT_EQ(RecipeText(std::get<Recipe>(read)), text);
  }
}

}  // namespace
}  // namespace bosquell
