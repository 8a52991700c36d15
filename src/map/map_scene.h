#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bosquell {

// A position on the picture, in pixels from its top-left corner.
struct PixelPoint {
  double x = 0;
  double y = 0;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  std::uint32_t Packed() const { return (red << 16) | (green << 8) | blue; }
  bool operator==(const Rgb&) const = default;
};

struct SceneLine {
  PixelPoint from;
  PixelPoint to;
  Rgb color;
  bool dashed = false;
};

// An outline only.
struct SceneCircle {
  PixelPoint center;
  double radius = 0;
  Rgb color;
};

// A filled dot of an object, for renderers that keep objects as shapes of their own (a picture
// to print or scale); `group` is the object's type text.
struct SceneDot {
  PixelPoint center;
  double radius = 0;
  Rgb color;
  std::string group;
};

enum class TextAlign { kLeft, kCenter, kRight };

// One line of text in the picture's small font (about 12 pixels high); `at` is the point on
// its baseline that `align` names.
struct SceneText {
  PixelPoint at;
  std::string text;  // UTF-8
  Rgb color;
  TextAlign align = TextAlign::kLeft;
};

// Everything the map shows, decided by the map's model: a renderer draws the pixels, then the
// lines, the circles, the dots and the texts over them, in this order, and nothing else.
struct MapScene {
  int width = 0;
  int height = 0;
  // width x height pixels as 0xRRGGBB, row by row from the top-left: the background (white, or
  // the picture under the map), the existing objects, the new ones and the legend's colour
  // swatches.
  std::vector<std::uint32_t> pixels;
  std::vector<SceneLine> lines;
  std::vector<SceneCircle> circles;
  std::vector<SceneDot> dots;  // only when the picture asks for objects as dots
  std::vector<SceneText> texts;
};

}  // namespace bosquell
