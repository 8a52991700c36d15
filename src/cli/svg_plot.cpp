#include "cli/svg_plot.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_set>

#include "map/plot_axis.h"
#include "common/number_text.h"

namespace bosquell {
namespace {

// Layout in SVG user units (pixels at 100 %).
constexpr double kPlotSide = 720;      // the longer side of the plot area
constexpr double kShortestSide = 160;  // a narrow scatter still gets a readable strip
constexpr double kLeft = 90;
constexpr double kTop = 60;
constexpr double kBottom = 64;
constexpr double kLegendGap = 36;
constexpr double kLegendWidth = 260;
constexpr double kLegendLine = 22;
constexpr int kTargetIntervals = 8;

constexpr std::string_view kExistingColour = "#9e9e9e";
constexpr std::string_view kAreaColour = "#d84315";
// Greens that stay apart from each other, dark and light in turn.
constexpr std::array<std::string_view, 8> kTypeColours = {
    "#1b5e20", "#7cb342", "#00897b", "#c0ca33", "#2e7d32", "#aed581", "#004d40", "#558b2f"};

// Fixed one-decimal text for coordinates: exact, locale-free and equal on every platform.
std::string Fixed(double value) {
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

// Sorts type texts as a reader expects: numbers by value, then other texts, the empty one last.
struct TypeOrder {
  bool operator()(const std::string& a, const std::string& b) const { return Key(a) < Key(b); }
  static std::tuple<int, double, std::string_view> Key(const std::string& type) {
    if (type.empty()) return {2, 0.0, type};
    if (TextIsNumeric(type)) return {0, TextValue(type), type};
    return {1, 0.0, type};
  }
};

// The rectangle the objects of a run can land in, in map units.
struct ScatterArea {
  double centerX = 0, centerY = 0, halfWidth = 0, halfHeight = 0;
};

struct Bounds {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  void Include(double x, double y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

// Maps map units to SVG units, y pointing up.
class Projection {
 public:
  Projection(const PlotAxis& x, const PlotAxis& y, double width, double height)
      : x_(x), y_(y), width_(width), height_(height) {}
  double X(double mapX) const { return kLeft + Fraction(mapX, x_) * width_; }
  double Y(double mapY) const { return kTop + (1 - Fraction(mapY, y_)) * height_; }

 private:
  static double Fraction(double value, const PlotAxis& axis) {
    const double span = axis.high - axis.low;
    if (!(span > 0) || !std::isfinite(span)) return 0.5;
    return (value - axis.low) / span;
  }
  PlotAxis x_, y_;
  double width_, height_;
};

double DotRadius(std::size_t dots) {
  if (dots <= 300) return 3.5;
  if (dots <= 3000) return 2.2;
  return 1.4;
}

void AppendAxes(std::string& svg, const PlotAxis& xAxis, const PlotAxis& yAxis,
                const Projection& at, double width, double height) {
  const std::string left = Fixed(kLeft), right = Fixed(kLeft + width);
  const std::string top = Fixed(kTop), bottom = Fixed(kTop + height);

  svg += "<g id=\"grid\" stroke=\"#e6e6e6\" stroke-width=\"1\">\n";
  for (double tick : xAxis.ticks) {
    const std::string x = Fixed(at.X(tick));
    svg += "<line x1=\"" + x + "\" y1=\"" + top + "\" x2=\"" + x + "\" y2=\"" + bottom + "\"/>\n";
  }
  for (double tick : yAxis.ticks) {
    const std::string y = Fixed(at.Y(tick));
    svg += "<line x1=\"" + left + "\" y1=\"" + y + "\" x2=\"" + right + "\" y2=\"" + y + "\"/>\n";
  }
  svg += "</g>\n";

  svg += "<g id=\"axes\" font-size=\"11\" fill=\"#333\">\n";
  svg += "<rect x=\"" + left + "\" y=\"" + top + "\" width=\"" + Fixed(width) + "\" height=\"" +
         Fixed(height) + "\" fill=\"none\" stroke=\"#444\"/>\n";
  for (double tick : xAxis.ticks) {
    const std::string x = Fixed(at.X(tick));
    svg += "<line x1=\"" + x + "\" y1=\"" + bottom + "\" x2=\"" + x + "\" y2=\"" +
           Fixed(kTop + height + 5) + "\" stroke=\"#444\"/>\n";
    svg += "<text x=\"" + x + "\" y=\"" + Fixed(kTop + height + 18) + "\" text-anchor=\"middle\">" +
           NumberText(tick) + "</text>\n";
  }
  for (double tick : yAxis.ticks) {
    const std::string y = Fixed(at.Y(tick));
    svg += "<line x1=\"" + Fixed(kLeft - 5) + "\" y1=\"" + y + "\" x2=\"" + left + "\" y2=\"" + y +
           "\" stroke=\"#444\"/>\n";
    svg += "<text x=\"" + Fixed(kLeft - 8) + "\" y=\"" + Fixed(at.Y(tick) + 4) +
           "\" text-anchor=\"end\">" + NumberText(tick) + "</text>\n";
  }
  svg += "<text x=\"" + Fixed(kLeft + width / 2) + "\" y=\"" + Fixed(kTop + height + 40) +
         "\" text-anchor=\"middle\" font-size=\"12\">x (map units)</text>\n";
  const std::string yTitleX = Fixed(18), yTitleY = Fixed(kTop + height / 2);
  svg += "<text x=\"" + yTitleX + "\" y=\"" + yTitleY + "\" transform=\"rotate(-90 " + yTitleX +
         " " + yTitleY + ")\" text-anchor=\"middle\" font-size=\"12\">y (map units)</text>\n";
  svg += "</g>\n";
}

void AppendDot(std::string& svg, double x, double y, const std::string& radius) {
  svg += "<circle cx=\"" + Fixed(x) + "\" cy=\"" + Fixed(y) + "\" r=\"" + radius + "\"/>\n";
}

// The new objects grouped by type text, in legend order.
using TypeGroups = std::map<std::string, std::vector<const DrawnObject*>, TypeOrder>;

std::string_view TypeColour(std::size_t index) {
  return kTypeColours[index % kTypeColours.size()];
}

// A dot that would land exactly on an earlier one adds nothing to the picture but bytes.
void AppendExisting(std::string& svg, const std::vector<MapPoint>& points, const Projection& at,
                    const std::string& radius) {
  svg += "<g id=\"existing-objects\" fill=\"" + std::string(kExistingColour) + "\">\n";
  std::unordered_set<std::string> drawn;
  for (const MapPoint& point : points) {
    const double x = at.X(point.x), y = at.Y(point.y);
    if (drawn.insert(Fixed(x) + ',' + Fixed(y)).second) AppendDot(svg, x, y, radius);
  }
  svg += "</g>\n";
}

void AppendAdded(std::string& svg, const TypeGroups& groups, const Projection& at,
                 const std::string& radius) {
  svg += "<g id=\"added-objects\">\n";
  std::size_t index = 0;
  for (const auto& [type, objects] : groups) {
    svg += "<g class=\"type\" data-type-id=\"" + Escaped(type) + "\" fill=\"" +
           std::string(TypeColour(index++)) + "\">\n";
    for (const DrawnObject* object : objects) {
      AppendDot(svg, at.X(object->x), at.Y(object->y), radius);
    }
    svg += "</g>\n";
  }
  svg += "</g>\n";
}

void AppendArea(std::string& svg, const ScatterArea& area, const Projection& at) {
  const double left = at.X(area.centerX - area.halfWidth);
  const double right = at.X(area.centerX + area.halfWidth);
  const double top = at.Y(area.centerY + area.halfHeight);
  const double bottom = at.Y(area.centerY - area.halfHeight);
  svg += "<rect id=\"scatter-area\" x=\"" + Fixed(left) + "\" y=\"" + Fixed(top) + "\" width=\"" +
         Fixed(right - left) + "\" height=\"" + Fixed(bottom - top) + "\" fill=\"none\" stroke=\"" +
         std::string(kAreaColour) + "\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"/>\n";
}

// Lines of the legend besides one per type.
constexpr double kLegendOtherLines = 7;

void AppendLegend(std::string& svg, double left, const ScatterArea& area, std::size_t existingCount,
                  std::size_t addedCount, const TypeGroups& groups) {
  const std::string headX = Fixed(left), swatchX = Fixed(left + 6), textX = Fixed(left + 22);
  double line = kTop + 10;
  auto text = [&](const std::string& x, const std::string& attributes, const std::string& body) {
    svg += "<text x=\"" + x + "\" y=\"" + Fixed(line + 4) + "\"" + attributes + ">" + body +
           "</text>\n";
  };
  auto swatch = [&](std::string_view colour, double radius) {
    svg += "<circle cx=\"" + swatchX + "\" cy=\"" + Fixed(line) + "\" r=\"" + Fixed(radius) +
           "\" fill=\"" + std::string(colour) + "\"/>\n";
  };

  svg += "<g id=\"legend\" font-size=\"12\" fill=\"#222\">\n";
  svg += "<rect x=\"" + headX + "\" y=\"" + Fixed(line - 6) + "\" width=\"12\" height=\"12\" " +
         "fill=\"none\" stroke=\"" + std::string(kAreaColour) +
         "\" stroke-width=\"1.5\" stroke-dasharray=\"3 2\"/>\n";
  text(textX, "",
       "scatter area, center " + NumberText(area.centerX) + ", " + NumberText(area.centerY));
  line += kLegendLine * 0.8;
  text(textX, "",
       "half-extents " + NumberText(area.halfWidth) + " by " + NumberText(area.halfHeight));
  line += kLegendLine;
  swatch(kExistingColour, 4);
  text(textX, "", "existing objects: " + std::to_string(existingCount));
  line += kLegendLine * 1.5;
  text(headX, " font-weight=\"bold\"", "new objects: " + std::to_string(addedCount));
  line += kLegendLine;
  text(headX, " fill=\"#555\"", "type id: count");
  std::size_t index = 0;
  for (const auto& [type, objects] : groups) {
    line += kLegendLine;
    swatch(TypeColour(index++), 5);
    text(textX, "", Escaped(TypeLabel(type)) + ": " + std::to_string(objects.size()));
  }
  line += kLegendLine * 1.5;
  text(headX, " fill=\"#555\" font-size=\"11\"", "1 user unit = 256 map units");
  svg += "</g>\n";
}

}  // namespace

std::string TypeLabel(const std::string& typeText) {
  return typeText.empty() ? "(empty)" : typeText;
}

std::string SvgPlot(const PlotContent& content) {
  const PlacementParameters& placement = content.placement;
  // The X draw reaches the next whole number beyond a range with a fraction.
  const ScatterArea area{placement.centerX, placement.centerY, std::ceil(placement.rangeX),
                         static_cast<double>(placement.rangeY)};

  Bounds bounds{area.centerX - area.halfWidth, area.centerX + area.halfWidth,
                area.centerY - area.halfHeight, area.centerY + area.halfHeight};
  for (const MapPoint& point : content.existing) bounds.Include(point.x, point.y);
  for (const DrawnObject& object : content.added) bounds.Include(object.x, object.y);

  // One step for both axes keeps the grid square, as on a map.
  const double step =
      NiceStep(std::max(bounds.maxX - bounds.minX, bounds.maxY - bounds.minY), kTargetIntervals);
  const PlotAxis xAxis = AxisWithStep(bounds.minX, bounds.maxX, step);
  const PlotAxis yAxis = AxisWithStep(bounds.minY, bounds.maxY, step);
  const double xSpan = xAxis.high - xAxis.low;
  const double ySpan = yAxis.high - yAxis.low;
  const double longer = std::max(xSpan, ySpan);
  const bool usable = longer > 0 && std::isfinite(longer);
  const double width = usable ? std::max(kPlotSide * xSpan / longer, kShortestSide) : kPlotSide;
  const double height = usable ? std::max(kPlotSide * ySpan / longer, kShortestSide) : kPlotSide;
  const Projection at(xAxis, yAxis, width, height);

  TypeGroups groups;
  for (const DrawnObject& object : content.added) groups[object.typeText].push_back(&object);

  const double legendLeft = kLeft + width + kLegendGap;
  const double legendHeight =
      kLegendLine * (static_cast<double>(groups.size()) + kLegendOtherLines);
  const std::string totalWidth = Fixed(legendLeft + kLegendWidth);
  const std::string totalHeight = Fixed(std::max(kTop + height + kBottom, kTop + legendHeight));
  const std::string radius = Fixed(DotRadius(content.existing.size() + content.added.size()));

  std::string svg;
  svg.reserve(4096 + 48 * (content.existing.size() + content.added.size()));
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + totalWidth + "\" height=\"" +
         totalHeight + "\" viewBox=\"0 0 " + totalWidth + " " + totalHeight +
         "\" font-family=\"sans-serif\">\n";
  svg += "<title>" + Escaped(content.title) + "</title>\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += "<text x=\"" + Fixed(kLeft) + "\" y=\"32\" font-size=\"16\" font-weight=\"bold\">" +
         Escaped(content.title) + "</text>\n";
  AppendAxes(svg, xAxis, yAxis, at, width, height);
  // The new objects go over the existing ones, and the outline over both, so a dense scatter
  // cannot hide it.
  AppendExisting(svg, content.existing, at, radius);
  AppendAdded(svg, groups, at, radius);
  AppendArea(svg, area, at);
  AppendLegend(svg, legendLeft, area, content.existing.size(), content.added.size(), groups);
  svg += "</svg>\n";
  return svg;
}

}  // namespace bosquell
