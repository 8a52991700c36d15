#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/svg_plot.h"
#include "map/map_viewport.h"
#include "recipe/recipe.h"

namespace bosquell {

// How an SVG at `svgPath` refers to the picture at `imagePath` (both UTF-8): the path from the
// SVG's folder with forward slashes, every byte but letters, digits, "-._~" and "/"
// percent-encoded; a file: URL of the absolute path when there is no relative one (another
// drive).
std::string ImageHref(std::string_view imagePath, std::string_view svgPath);

// The background picture at `imagePath` as the plot at `svgPath` shows it through `viewport`.
SvgImage PlotImage(const Background& background, std::string_view imagePath,
                   std::string_view svgPath, const MapViewport& viewport);

}  // namespace bosquell
