#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace bosquell {

// A point as a recipe writes it, in user units (256 map units).
struct UserPoint {
  double x = 0;
  double y = 0;
  bool operator==(const UserPoint&) const = default;
};

// The main window's area: a center and half-widths, read as its boxes are (the Y half-width
// rounded to a whole user unit, the X half-width kept with its fraction).
struct RectangleArea {
  UserPoint center;
  UserPoint range;
  bool operator==(const RectangleArea&) const = default;
};

// Three or more corners, in order; the last joins the first. It may not cross itself.
struct PolygonArea {
  std::vector<UserPoint> corners;
  bool operator==(const PolygonArea&) const = default;
};

struct CircleArea {
  UserPoint center;
  double radius = 0;
  bool operator==(const CircleArea&) const = default;
};

// A line through two or more points, with a width: everything closer to the line than half the
// width, a road or a river.
struct CorridorArea {
  std::vector<UserPoint> points;
  double width = 0;
  bool operator==(const CorridorArea&) const = default;
};

using AreaShape = std::variant<RectangleArea, PolygonArea, CircleArea, CorridorArea>;

// A shape that a layer's objects lie in (include) or keep out of (exclude).
struct Area {
  AreaShape shape;
  bool exclude = false;
  bool operator==(const Area&) const = default;
};

// A built-in tree theme, by its exact name: its ids picked as the main window picks them.
struct ThemeMix {
  std::string name;
  bool operator==(const ThemeMix&) const = default;
};

// An object type id as typed (a text the number boxes accept as a number) and its share.
struct WeightedType {
  std::string typeText;
  double weight = 1;  // > 0; a type is picked with probability weight / sum of weights
  bool operator==(const WeightedType&) const = default;
};

// Own ids with weights; the main window's own id is one of them with weight 1.
struct WeightedMix {
  std::vector<WeightedType> types;
  bool operator==(const WeightedMix&) const = default;
};

using Mix = std::variant<ThemeMix, WeightedMix>;

enum class Pattern {
  kUniform,  // each object drawn anywhere in the area: the main window's draw
  kEven,     // no two closer than the spacing, spread over the whole area
  kClumped,  // objects drawn around clump centres
};

// One kind of forest: what is drawn, how many, how it is spread, where, and what it keeps clear
// of. Distances are in user units; 0 leaves a rule off.
struct Layer {
  Mix mix;
  int count = 0;      // how many; ignored when `fill`
  bool fill = false;  // "even" only: as many as fit
  Pattern pattern = Pattern::kUniform;
  double spacing = 0;    // no two objects of this layer closer
  double keepClear = 0;  // from the mission's objects and earlier layers' objects
  int clumps = 0;        // "clumped": how many clumps
  double clumpRadius = 0;
  std::vector<Area> areas;  // at least one include
  bool operator==(const Layer&) const = default;
};

// A picture of the map to lay under the objects, placed by the map positions of its corners.
// Only what shows the recipe draws it (the map window, the plot); a run leaves it alone.
struct Background {
  std::string image;  // the picture file, UTF-8, relative to the recipe's folder or absolute
  UserPoint topLeft;  // where the picture's top-left corner lies on the map
  UserPoint bottomRight;
  double opacity = 1;  // 0 shows only white, 1 the picture as it is
  bool operator==(const Background&) const = default;
};

// What one run plants: its layers, drawn in order, and the seed it starts from (the clock's when
// none is given); and what lies under them on the map.
struct Recipe {
  std::optional<std::uint32_t> seed;
  std::optional<Background> background;
  std::vector<Layer> layers;
  bool operator==(const Recipe&) const = default;
};

}  // namespace bosquell
