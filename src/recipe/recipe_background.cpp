#include "recipe/recipe_background.h"

#include <cmath>
#include <string>

namespace bosquell::recipe_fields {
namespace {

constexpr std::string_view kCornersExample =
    "corners = [[left, top], [right, bottom]], the map positions of the picture's top-left and "
    "bottom-right corners";

// The corners span a picture only when the first lies left of and above the second (y grows
// northwards, as everywhere on the map).
void CheckCorners(const Field& field, UserPoint topLeft, UserPoint bottomRight) {
  const bool sameX = topLeft.x == bottomRight.x;
  const bool sameY = topLeft.y == bottomRight.y;
  if (sameX && sameY) Refuse(field, "coincide: the picture would have no size");
  if (sameX) Refuse(field, "have the same x: the picture would have no width");
  if (sameY) Refuse(field, "have the same y: the picture would have no height");
  if (!(topLeft.x < bottomRight.x && topLeft.y > bottomRight.y)) {
    Refuse(field,
           "the first corner, the picture's top-left, must lie left of and above the second, its "
           "bottom-right (y grows northwards)");
  }
}

}  // namespace

std::optional<Background> ReadBackground(const Field& recipe) {
  const Field field = Member(recipe, "background");
  if (field.node == nullptr) return std::nullopt;
  TableOf(field);
  RefuseUnknownFields(field, {"image", "corners", "opacity"},
                      "a background has image, corners and opacity");
  Background background;
  const Field image = Member(field, "image");
  Require(image, "give image = \"picture.png\", a PNG, JPEG or BMP file");
  background.image = TextOf(image);
  if (background.image.empty()) Refuse(image, "must name a picture file");

  const Field corners = Member(field, "corners");
  Require(corners, "give " + std::string(kCornersExample));
  if (!corners.node->is_array() || ListOf(corners).size() != 2) {
    Refuse(corners, "must be " + std::string(kCornersExample));
  }
  background.topLeft = PointOf(Element(corners, 0));
  background.bottomRight = PointOf(Element(corners, 1));
  CheckCorners(corners, background.topLeft, background.bottomRight);

  if (const Field opacity = Member(field, "opacity"); opacity.node != nullptr) {
    background.opacity = NumberOf(opacity);
    if (!(background.opacity >= 0 && background.opacity <= 1)) {
      Refuse(opacity, "must be from 0 (only white) to 1 (the picture as it is)");
    }
  }
  return background;
}

}  // namespace bosquell::recipe_fields
