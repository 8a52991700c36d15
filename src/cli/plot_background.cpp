#include "cli/plot_background.h"

#include <filesystem>
#include <system_error>

#include "common/utf8_path.h"
#include "placement/placement.h"

namespace bosquell {
namespace {

std::filesystem::path Absolute(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).lexically_normal();
}

std::string PercentEncoded(const std::u8string& text, std::string_view alsoKept) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string encoded;
  for (const char8_t c : text) {
    const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
                      alsoKept.find(static_cast<char>(c)) != std::string_view::npos;
    if (kept) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kDigits[c >> 4];
      encoded += kDigits[c & 15];
    }
  }
  return encoded;
}

}  // namespace

std::string ImageHref(std::string_view imagePath, std::string_view svgPath) {
  const std::filesystem::path image = Absolute(PathFromUtf8(imagePath));
  const std::filesystem::path relative =
      image.lexically_relative(Absolute(PathFromUtf8(svgPath)).parent_path());
  // A colon in a relative reference's first segment would read as a scheme: it is encoded.
  if (!relative.empty()) return PercentEncoded(relative.generic_u8string(), "");
  std::string url = "file://";
  const std::u8string absolute = image.generic_u8string();
  if (absolute.empty() || absolute.front() != u8'/') url += '/';  // C:/ as file:///C:/
  return url + PercentEncoded(absolute, ":");
}

SvgImage PlotImage(const Background& background, std::string_view imagePath,
                   std::string_view svgPath, const MapViewport& viewport) {
  const auto mapPoint = [](UserPoint point) {
    return MapPoint{point.x * kMapUnitsPerUserUnit, point.y * kMapUnitsPerUserUnit};
  };
  return {ImageHref(imagePath, svgPath), viewport.ToPixel(mapPoint(background.topLeft)),
          viewport.ToPixel(mapPoint(background.bottomRight)), background.opacity};
}

}  // namespace bosquell
