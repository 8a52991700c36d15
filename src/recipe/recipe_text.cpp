#include "recipe/recipe_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <type_traits>

namespace bosquell {
namespace {

// The shortest text that reads back as the same double. A whole value reads as a TOML integer,
// and becomes the same double again while it fits 64 bits exactly; beyond 10^15 the exponent
// form keeps it a float, and -0 keeps its sign as -0.0.
std::string NumberText(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".en") != std::string::npos)
    return text;  // a fraction, an exponent,
                  // inf or nan
  if (value == 0 && std::signbit(value)) return "-0.0";
  if (std::fabs(value) >= 1e15) {
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    text.assign(buffer, result.ptr);
  }
  return text;
}

// Whether a distance is the default, +0 (a rule left off): only then is the field left out.
bool IsOff(double distance) {
  return distance == 0 && !std::signbit(distance);
}

std::string PointText(const UserPoint& point) {
  return "[" + NumberText(point.x) + ", " + NumberText(point.y) + "]";
}

std::string PointsText(const std::vector<UserPoint>& points) {
  std::string text = "[";
  for (std::size_t i = 0; i < points.size(); ++i)
    text += (i > 0 ? ", " : "") + PointText(points[i]);
  return text + "]";
}

std::string ShapeText(const AreaShape& shape) {
  return std::visit(
      [](const auto& area) -> std::string {
        using Shape = std::decay_t<decltype(area)>;
        if constexpr (std::is_same_v<Shape, RectangleArea>) {
          return "rectangle = { center = " + PointText(area.center) +
                 ", range = " + PointText(area.range) + " }";
        } else if constexpr (std::is_same_v<Shape, PolygonArea>) {
          return "polygon = " + PointsText(area.corners);
        } else if constexpr (std::is_same_v<Shape, CircleArea>) {
          return "circle = { center = " + PointText(area.center) +
                 ", radius = " + NumberText(area.radius) + " }";
        } else {
          return "corridor = { points = " + PointsText(area.points) +
                 ", width = " + NumberText(area.width) + " }";
        }
      },
      shape);
}

std::string MixText(const Mix& mix) {
  if (const auto* theme = std::get_if<ThemeMix>(&mix)) return QuotedTomlText(theme->name);
  std::string text = "{ ";
  const auto& types = std::get<WeightedMix>(mix).types;
  for (std::size_t i = 0; i < types.size(); ++i) {
    if (i > 0) text += ", ";
    text += QuotedTomlText(types[i].typeText) + " = " + NumberText(types[i].weight);
  }
  return text + " }";
}

void AppendLayer(const Layer& layer, std::string& text) {
  text += "[[layer]]\n";
  text += "mix = " + MixText(layer.mix) + "\n";
  text +=
      layer.fill ? std::string("fill = true\n") : "count = " + std::to_string(layer.count) + "\n";
  text += "pattern = \"" + std::string(PatternName(layer.pattern)) + "\"\n";
  if (!IsOff(layer.spacing)) text += "spacing = " + NumberText(layer.spacing) + "\n";
  if (!IsOff(layer.keepClear)) text += "keep-clear = " + NumberText(layer.keepClear) + "\n";
  if (layer.pattern == Pattern::kClumped) {
    text += "clumps = " + std::to_string(layer.clumps) + "\n";
    text += "clump-radius = " + NumberText(layer.clumpRadius) + "\n";
  }
  for (const Area& area : layer.areas) {
    text += "  [[layer.area]]\n";
    text += "  " + ShapeText(area.shape) + "\n";
    if (area.exclude) text += "  exclude = true\n";
  }
}

void AppendBackground(const Background& background, std::string& text) {
  text += "[background]\n";
  text += "image = " + QuotedTomlText(background.image) + "\n";
  text += "corners = " + PointsText({background.topLeft, background.bottomRight}) + "\n";
  if (background.opacity != 1) text += "opacity = " + NumberText(background.opacity) + "\n";
}

}  // namespace

std::string_view PatternName(Pattern pattern) {
  switch (pattern) {
    case Pattern::kEven:
      return "even";
    case Pattern::kClumped:
      return "clumped";
    case Pattern::kUniform:
      break;
  }
  return "uniform";
}

std::string RecipeText(const Recipe& recipe) {
  std::string text;
  if (recipe.seed) text += "seed = " + std::to_string(*recipe.seed) + "\n";
  if (recipe.background) {
    if (!text.empty()) text += "\n";
    AppendBackground(*recipe.background, text);
  }
  for (const Layer& layer : recipe.layers) {
    if (!text.empty()) text += "\n";
    AppendLayer(layer, text);
  }
  return text;
}

std::string QuotedTomlText(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7f) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(byte));
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace bosquell
