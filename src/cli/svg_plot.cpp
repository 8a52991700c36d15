#include "cli/svg_plot.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <string_view>
#include <system_error>

namespace bosquell {
namespace {

constexpr std::uint32_t kBackground = 0xFFFFFF;

// Fixed one-decimal text for coordinates: exact, locale-free and equal on every platform. A
// coordinate far off the picture only needs to stay off it, and one that is not a number is put
// there too, so that the text stays short and a number.
std::string Fixed(double value) {
  constexpr double kFarOff = 1e9;
  value = value < kFarOff ? std::max(value, -kFarOff) : kFarOff;
  if (std::fabs(value) < 0.05) value = 0;  // no "-0.0"
  std::array<char, 64> buffer{};
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, 1);
  if (error != std::errc()) return "0";
  std::string text(buffer.data(), end);
  if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
  return text;
}

// Length of the well-formed UTF-8 sequence at the start of `text`, 0 when there is none
// (overlong forms, surrogates and values beyond U+10FFFF are not well-formed).
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  const unsigned char second = byte(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return length;
}

// Text for XML content and attributes. Bytes that are not UTF-8 and control characters, which
// XML cannot carry, become '?'.
std::string Escaped(std::string_view text) {
  std::string escaped;
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      escaped += '?';
      text.remove_prefix(1);
      continue;
    }
    const char c = text[0];
    if (length == 1) {
      switch (c) {
        case '&':
          escaped += "&amp;";
          break;
        case '<':
          escaped += "&lt;";
          break;
        case '>':
          escaped += "&gt;";
          break;
        case '"':
          escaped += "&quot;";
          break;
        default:
          escaped += (static_cast<unsigned char>(c) < 0x20 && c != '\t') ? '?' : c;
      }
    } else {
      escaped.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return escaped;
}

std::string Colour(Rgb colour) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string text = "#";
  for (const std::uint8_t part : {colour.red, colour.green, colour.blue}) {
    text += kDigits[part >> 4];
    text += kDigits[part & 15];
  }
  return text;
}

Rgb Unpacked(std::uint32_t pixel) {
  return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
          static_cast<std::uint8_t>(pixel)};
}

// A run of one colour along a row of pixels, grown downwards while the rows below repeat it.
struct PixelRun {
  int x = 0;
  int width = 0;
  std::uint32_t pixel = 0;
  int top = 0;
  int height = 1;
};

std::vector<PixelRun> RowRuns(const MapScene& scene, int y) {
  std::vector<PixelRun> runs;
  const std::uint32_t* row = scene.pixels.data() + static_cast<std::size_t>(y) * scene.width;
  for (int x = 0; x < scene.width;) {
    int end = x + 1;
    while (end < scene.width && row[end] == row[x]) ++end;
    if (row[x] != kBackground) runs.push_back({x, end - x, row[x], y, 1});
    x = end;
  }
  return runs;
}

void AppendRun(std::string& svg, const PixelRun& run) {
  svg += "<rect x=\"" + std::to_string(run.x) + "\" y=\"" + std::to_string(run.top) +
         "\" width=\"" + std::to_string(run.width) + "\" height=\"" + std::to_string(run.height) +
         "\" fill=\"" + Colour(Unpacked(run.pixel)) + "\"/>\n";
}

// The pixels that are not background, as rectangles of one colour each.
void AppendPixels(std::string& svg, const MapScene& scene) {
  svg += "<g id=\"picture\" shape-rendering=\"crispEdges\">\n";
  std::vector<PixelRun> open;
  for (int y = 0; y < scene.height; ++y) {
    std::vector<PixelRun> row = RowRuns(scene, y);
    std::vector<PixelRun> stillOpen;
    std::size_t next = 0;
    for (PixelRun& run : row) {
      while (next < open.size() && open[next].x < run.x) AppendRun(svg, open[next++]);
      if (next < open.size() && open[next].x == run.x && open[next].width == run.width &&
          open[next].pixel == run.pixel) {
        run = open[next++];
        ++run.height;
      }
      stillOpen.push_back(run);
    }
    while (next < open.size()) AppendRun(svg, open[next++]);
    open = std::move(stillOpen);
  }
  for (const PixelRun& run : open) AppendRun(svg, run);
  svg += "</g>\n";
}

void AppendLines(std::string& svg, const MapScene& scene) {
  svg += "<g id=\"lines\" stroke-width=\"1\">\n";
  for (const SceneLine& line : scene.lines) {
    svg += "<line x1=\"" + Fixed(line.from.x) + "\" y1=\"" + Fixed(line.from.y) + "\" x2=\"" +
           Fixed(line.to.x) + "\" y2=\"" + Fixed(line.to.y) + "\" stroke=\"" + Colour(line.color) +
           (line.dashed ? "\" stroke-dasharray=\"6 4\"/>\n" : "\"/>\n");
  }
  svg += "</g>\n";
}

void AppendCircles(std::string& svg, const MapScene& scene) {
  svg += "<g id=\"distances\" fill=\"none\">\n";
  for (const SceneCircle& circle : scene.circles) {
    svg += "<circle cx=\"" + Fixed(circle.center.x) + "\" cy=\"" + Fixed(circle.center.y) +
           "\" r=\"" + Fixed(circle.radius) + "\" stroke=\"" + Colour(circle.color) + "\"/>\n";
  }
  svg += "</g>\n";
}

// The dots grouped by their type, in the order each type first comes.
void AppendDots(std::string& svg, const MapScene& scene) {
  std::vector<std::string> order;
  std::map<std::string, std::vector<const SceneDot*>> groups;
  for (const SceneDot& dot : scene.dots) {
    std::vector<const SceneDot*>& group = groups[dot.group];
    if (group.empty()) order.push_back(dot.group);
    group.push_back(&dot);
  }
  svg += "<g id=\"added-objects\">\n";
  for (const std::string& type : order) {
    const std::vector<const SceneDot*>& dots = groups[type];
    svg += "<g class=\"type\" data-type-id=\"" + Escaped(type) + "\" fill=\"" +
           Colour(dots.front()->color) + "\">\n";
    for (const SceneDot* dot : dots) {
      svg += "<circle cx=\"" + Fixed(dot->center.x) + "\" cy=\"" + Fixed(dot->center.y) +
             "\" r=\"" + Fixed(dot->radius) + "\"/>\n";
    }
    svg += "</g>\n";
  }
  svg += "</g>\n";
}

void AppendTexts(std::string& svg, const MapScene& scene) {
  svg += "<g id=\"texts\" font-size=\"12\">\n";
  for (const SceneText& text : scene.texts) {
    const char* anchor = text.align == TextAlign::kLeft     ? "start"
                         : text.align == TextAlign::kCenter ? "middle"
                                                            : "end";
    svg += "<text x=\"" + Fixed(text.at.x) + "\" y=\"" + Fixed(text.at.y) + "\" text-anchor=\"" +
           anchor + "\" fill=\"" + Colour(text.color) + "\">" + Escaped(text.text) + "</text>\n";
  }
  svg += "</g>\n";
}

// Opacity with three decimals, as Fixed writes coordinates.
std::string OpacityText(double opacity) {
  std::array<char, 16> buffer{};
  opacity = opacity >= 0 ? std::min(opacity, 1.0) : 0;  // not a number shows nothing
  auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), opacity,
                                    std::chars_format::fixed, 3);
  if (error != std::errc()) return "1";
  std::string text(buffer.data(), end);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

// Both href forms: SVG 2 viewers read the plain one, SVG 1.1 and Tiny viewers the xlink one.
void AppendImage(std::string& svg, const SvgImage& image) {
  const std::string href = Escaped(image.href);
  svg += "<image id=\"background\" x=\"" + Fixed(image.topLeft.x) + "\" y=\"" +
         Fixed(image.topLeft.y) + "\" width=\"" + Fixed(image.bottomRight.x - image.topLeft.x) +
         "\" height=\"" + Fixed(image.bottomRight.y - image.topLeft.y) +
         "\" preserveAspectRatio=\"none\" opacity=\"" + OpacityText(image.opacity) + "\" href=\"" +
         href + "\" xlink:href=\"" + href + "\"/>\n";
}

}  // namespace

std::string SvgPlot(const MapScene& scene, std::string_view title,
                    const std::optional<SvgImage>& under) {
  const std::string width = std::to_string(scene.width);
  const std::string height = std::to_string(scene.height);
  std::string svg;
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\"" +
         std::string(under ? " xmlns:xlink=\"http://www.w3.org/1999/xlink\"" : "") + " width=\"" +
         width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
         "\" font-family=\"sans-serif\">\n";
  svg += "<title>" + Escaped(title) + "</title>\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"" + Colour(Unpacked(kBackground)) + "\"/>\n";
  if (under) AppendImage(svg, *under);
  AppendPixels(svg, scene);
  AppendLines(svg, scene);
  AppendCircles(svg, scene);
  AppendDots(svg, scene);
  AppendTexts(svg, scene);
  svg += "</svg>\n";
  return svg;
}

}  // namespace bosquell
