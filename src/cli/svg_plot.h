#pragma once

#include <string>
#include <string_view>

#include "map/map_scene.h"

namespace bosquell {

// An SVG of a map scene at its size: the pixels as rectangles of one colour each, then the
// lines, circles, dots (grouped by type id) and texts. Texts are escaped, and bytes that are not
// UTF-8 become '?'. Equal scenes give equal bytes on every platform.
std::string SvgPlot(const MapScene& scene, std::string_view title);

}  // namespace bosquell
