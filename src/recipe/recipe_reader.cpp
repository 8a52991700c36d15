#include "recipe/recipe_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "common/number_text.h"
#include "placement/compiled_layer.h"
#include "placement/tree_themes.h"
#include "recipe/recipe_areas.h"
#include "recipe/recipe_background.h"
#include "recipe/recipe_fields.h"
#include "recipe/recipe_file.h"
#include "recipe/recipe_text.h"
#include "run/add_objects_request.h"

namespace bosquell {
namespace {

using namespace recipe_fields;

// The main window's own-id box takes this many characters.
constexpr std::size_t kMaxTypeIdLength = 6;

constexpr std::string_view kMixExamples =
    "a theme's name, mix = \"Jungel\", or type ids with weights, mix = { 1017 = 3, 1134 = 1 }";

std::string ThemeNames() {
  std::string names;
  const auto order = ThemeListOrder();
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0) names += i + 1 == order.size() ? " and " : ", ";
    names += order[i];
  }
  return names;
}

// A type id is refused as the main window refuses its own-id box: one number, 6 characters at
// most.
WeightedMix ReadWeightedMix(const Field& field) {
  // The file's order, in which the weights are walked when a type is picked.
  std::vector<std::pair<const toml::key*, Field>> entries;
  for (const auto& [key, value] : TableOf(field)) {
    entries.emplace_back(
        &key, Field{&value, field.path + "." + QuotedTomlText(key.str()), value.source().begin});
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return StandsBefore(a.first->source().begin, b.first->source().begin);
  });
  if (entries.empty()) Refuse(field, "names no type; give " + std::string(kMixExamples));

  WeightedMix mix;
  double sum = 0;
  for (const auto& [key, weight] : entries) {
    if (!TextIsNumeric(key->str()) || key->str().size() > kMaxTypeIdLength) {
      Refuse(AtKey(weight, *key),
             "is not a type id the main window accepts: one number of at most " +
                 std::to_string(kMaxTypeIdLength) + " characters");
    }
    const double value = NumberOf(weight);
    if (!(value > 0)) Refuse(weight, "must be greater than 0");
    sum += value;
    if (!std::isfinite(sum)) Refuse(weight, "brings the sum of the weights beyond any number");
    mix.types.push_back({std::string(key->str()), value});
  }
  return mix;
}

Mix ReadMix(const Field& field) {
  if (field.node->is_table()) return ReadWeightedMix(field);
  if (!field.node->is_string()) {
    Refuse(field,
           "must be " + std::string(kMixExamples) + ", not " + std::string(TypeWords(*field.node)));
  }
  std::string name = TextOf(field);
  if (FindTreeTheme(name) == nullptr) {
    Refuse(field, "is no built-in theme; the themes are " + ThemeNames());
  }
  return ThemeMix{std::move(name)};
}

Pattern ReadPattern(const Field& field) {
  if (field.node == nullptr) return Pattern::kUniform;
  const std::string name = TextOf(field);
  if (name == "uniform") return Pattern::kUniform;
  if (name == "even") return Pattern::kEven;
  if (name == "clumped") return Pattern::kClumped;
  Refuse(field, "must be \"uniform\", \"even\" or \"clumped\"");
}

// How many a layer draws: a count, or as many as fit. `countBefore` is what the layers before
// it count together; all of them together stay within one run's limit.
void ReadHowMany(const Field& field, int countBefore, Layer& layer) {
  const Field count = Member(field, "count");
  const Field fill = Member(field, "fill");
  layer.fill = fill.node != nullptr && FlagOf(fill);
  if (layer.fill) {
    if (layer.pattern != Pattern::kEven) Refuse(fill, "fill = true needs pattern = \"even\"");
    if (count.node != nullptr) Refuse(count, "a layer gives a count or fill = true, not both");
    return;
  }
  Require(count, "give count = how many, or fill = true with pattern = \"even\"");
  layer.count = static_cast<int>(WholeNumberOf(count, 1, kMaxObjectCount));
  if (countBefore + layer.count > kMaxObjectCount) {
    Refuse(count, "brings the layers' counts to " + std::to_string(countBefore + layer.count) +
                      " together, more than the " + std::to_string(kMaxObjectCount) +
                      " one run adds");
  }
}

// The fields that only some patterns have, and what those patterns need.
void ReadPatternFields(const Field& field, Layer& layer) {
  const Field spacing = Member(field, "spacing");
  if (layer.pattern == Pattern::kEven) {
    Require(spacing, "pattern = \"even\" needs a spacing greater than 0");
    if (!(layer.spacing > 0)) Refuse(spacing, "must be greater than 0 for pattern = \"even\"");
  }
  const Field clumps = Member(field, "clumps");
  const Field clumpRadius = Member(field, "clump-radius");
  if (layer.pattern != Pattern::kClumped) {
    for (const Field* onlyClumped : {&clumps, &clumpRadius}) {
      if (onlyClumped->node != nullptr) {
        Refuse(*onlyClumped, "belongs to pattern = \"clumped\" only");
      }
    }
    return;
  }
  Require(clumps, "pattern = \"clumped\" needs clumps = how many clumps");
  layer.clumps = static_cast<int>(WholeNumberOf(clumps, 1, kMaxObjectCount));
  Require(clumpRadius, "pattern = \"clumped\" needs a clump-radius greater than 0");
  layer.clumpRadius = DistanceOf(clumpRadius);
  if (!(layer.clumpRadius > 0)) Refuse(clumpRadius, "must be greater than 0");
}

Layer ReadLayer(const Field& field, int countBefore) {
  RefuseUnknownFields(field,
                      {"mix", "count", "fill", "pattern", "spacing", "keep-clear", "clumps",
                       "clump-radius", "area"},
                      "a layer has mix, count, fill, pattern, spacing, keep-clear, clumps, "
                      "clump-radius and its [[layer.area]] tables");
  Layer layer;
  const Field mix = Member(field, "mix");
  Require(mix, "give " + std::string(kMixExamples));
  layer.mix = ReadMix(mix);
  layer.pattern = ReadPattern(Member(field, "pattern"));
  ReadHowMany(field, countBefore, layer);
  if (const Field spacing = Member(field, "spacing"); spacing.node != nullptr) {
    layer.spacing = DistanceOf(spacing);
  }
  if (const Field keepClear = Member(field, "keep-clear"); keepClear.node != nullptr) {
    layer.keepClear = DistanceOf(keepClear);
  }
  ReadPatternFields(field, layer);
  layer.areas = ReadAreas(field);
  // What each field allows may still not make a layer the draw can take: includes that together
  // span more of the map from south to north than a draw's 32-bit span, or a shape whose edge
  // reaches past the map once in map units. A recipe that reads always draws.
  if (!CompileLayer(layer)) {
    Refuse(Member(field, "area"),
           "the include areas cannot be drawn: they reach beyond the map, or span 8388608 user "
           "units or more from south to north");
  }
  return layer;
}

Recipe ReadRecipeTable(const toml::table& root) {
  const Field top{&root, "", {1, 1}};
  RefuseUnknownFields(top, {"seed", "background", "layer"},
                      "a recipe has seed, its [background] table and its [[layer]] tables");
  Recipe recipe;
  if (const Field seed = Member(top, "seed"); seed.node != nullptr) {
    recipe.seed = static_cast<std::uint32_t>(
        WholeNumberOf(seed, 0, std::numeric_limits<std::uint32_t>::max()));
  }
  recipe.background = ReadBackground(top);
  const Field layers = Member(top, "layer");
  Require(layers, "a recipe draws one or more [[layer]] tables");
  if (ListOfTables(layers, "layer").empty()) {
    Refuse(layers, "is empty; a recipe draws one or more layers");
  }
  int counted = 0;
  for (std::size_t i = 0; i < ListOf(layers).size(); ++i) {
    recipe.layers.push_back(ReadLayer(Element(layers, i), counted));
    counted += recipe.layers.back().count;
  }
  return recipe;
}

std::string Place(std::string_view fileName, const toml::source_position& where) {
  return std::string(fileName) + ":" + std::to_string(where.line) + ":" +
         std::to_string(where.column) + ": ";
}

// Why a text is refused: its place, when it has one, and the rest of the message.
struct Refusal {
  std::optional<toml::source_position> where;
  std::string what;
};

std::variant<Refusal, Recipe> ReadRecipeText(std::string_view text) {
  try {
    const toml::parse_result parsed = toml::parse(text);
    if (!parsed) {
      std::string description(parsed.error().description());
      if (!description.empty() && description.front() >= 'A' && description.front() <= 'Z') {
        description.front() = static_cast<char>(description.front() - 'A' + 'a');
      }
      return Refusal{parsed.error().source().begin, "not valid TOML: " + description};
    }
    return ReadRecipeTable(parsed.table());
  } catch (const RecipeProblem& problem) {
    return Refusal{problem.where, problem.path + ": " + problem.what};
  } catch (const std::exception& error) {
    // Out of memory, in practice.
    return Refusal{std::nullopt, std::string("the recipe cannot be read: ") + error.what()};
  }
}

}  // namespace

std::variant<std::string, Recipe> ParseRecipe(std::string_view text, std::string_view fileName) {
  std::variant<Refusal, Recipe> read = ReadRecipeText(text);
  if (Recipe* recipe = std::get_if<Recipe>(&read)) return std::move(*recipe);
  const Refusal& refusal = std::get<Refusal>(read);
  return refusal.where ? Place(fileName, *refusal.where) + refusal.what
                       : std::string(fileName) + ": " + refusal.what;
}

std::string CheckRecipe(const Recipe& recipe) {
  const std::variant<Refusal, Recipe> read = ReadRecipeText(RecipeText(recipe));
  if (const Refusal* refusal = std::get_if<Refusal>(&read)) return refusal->what;
  return {};
}

std::variant<std::string, Recipe> ReadRecipe(std::string_view utf8Path) {
  RecipeFileBytes file = ReadRecipeFile(utf8Path);
  if (!file.problem.empty()) return std::move(file.problem);
  return ParseRecipe(file.bytes, utf8Path);
}

}  // namespace bosquell
