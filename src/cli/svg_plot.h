#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "map/map_scene.h"

namespace bosquell {

// A picture file under the plot, stretched over the rectangle of its corners in the scene's
// pixels.
struct SvgImage {
  std::string href;  // a URI reference: percent-encoded, relative to the SVG's folder or file:
  PixelPoint topLeft;
  PixelPoint bottomRight;
  double opacity = 1;
};

// An SVG of a map scene at its size: the picture under it, if any, then the pixels as rectangles
// of one colour each, the lines, circles, dots (grouped by type id) and texts. Texts are escaped,
// and bytes that are not UTF-8 become '?'. Equal scenes give equal bytes on every platform.
std::string SvgPlot(const MapScene& scene, std::string_view title,
                    const std::optional<SvgImage>& under = std::nullopt);

}  // namespace bosquell
