#include "map/map_picture.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "common/number_text.h"
#include "map/plot_axis.h"

namespace bosquell {
namespace {

constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kGrid{226, 226, 226};
constexpr Rgb kLabel{90, 90, 90};
constexpr Rgb kArea{216, 67, 21};
constexpr Rgb kBand{25, 118, 210};
constexpr Rgb kMessageBand{255, 248, 225};
constexpr Rgb kKeepClear{244, 165, 130};
constexpr Rgb kSpacing{46, 125, 50};
constexpr Rgb kText{33, 33, 33};
constexpr Rgb kExisting{120, 120, 120};
constexpr Rgb kWritten{123, 31, 162};
constexpr Rgb kTakenBack{229, 57, 53};
constexpr Rgb kOutOfDate{200, 200, 200};
// Greens that stay apart from each other, dark and light in turn.
constexpr std::array<Rgb, 8> kTypeColours = {{{27, 94, 32},
                                              {124, 179, 66},
                                              {0, 137, 123},
                                              {192, 202, 51},
                                              {46, 125, 50},
                                              {174, 213, 129},
                                              {0, 77, 64},
                                              {85, 139, 47}}};
constexpr int kTargetIntervals = 8;
constexpr double kLineHeight = 16;
// Circles are drawn only where they can be told apart and stay few enough to paint at once.
constexpr double kSmallestCircle = 3;
constexpr std::size_t kMostCircles = 4000;
// Up to this many existing objects, each shows as a dot of its own even where bins are small.
constexpr std::uint64_t kFewExisting = 100000;

class Canvas {
 public:
  explicit Canvas(MapScene& scene) : scene_(scene) {}

  // Fills the pixels of [left, right) x [top, bottom), clipped to the picture.
  void Fill(double left, double top, double right, double bottom, Rgb colour) {
    const int x0 = Clamp(std::floor(left), scene_.width);
    const int x1 = Clamp(std::ceil(right), scene_.width);
    const int y0 = Clamp(std::floor(top), scene_.height);
    const int y1 = Clamp(std::ceil(bottom), scene_.height);
    const std::uint32_t packed = colour.Packed();
    for (int y = y0; y < y1; ++y) {
      std::uint32_t* row = scene_.pixels.data() + static_cast<std::size_t>(y) * scene_.width;
      std::fill(row + x0, row + x1, packed);
    }
  }
  // Darkens the pixels of [left, right) x [top, bottom), clipped to the picture, to at most
  // `level` in each channel, so that the busiest bin shows, on white or on a background picture.
  void Shade(double left, double top, double right, double bottom, std::uint8_t level) {
    const int x0 = Clamp(std::floor(left), scene_.width);
    const int x1 = Clamp(std::ceil(right), scene_.width);
    const int y0 = Clamp(std::floor(top), scene_.height);
    const int y1 = Clamp(std::ceil(bottom), scene_.height);
    for (int y = y0; y < y1; ++y) {
      std::uint32_t* row = scene_.pixels.data() + static_cast<std::size_t>(y) * scene_.width;
      for (int x = x0; x < x1; ++x) row[x] = Darker(row[x], level);
    }
  }
  // Darkens the one pixel that holds the point.
  void Darken(double x, double y, std::uint8_t level) {
    if (!(x >= 0 && y >= 0 && x < scene_.width && y < scene_.height)) return;
    std::uint32_t& pixel =
        scene_.pixels[static_cast<std::size_t>(y) * scene_.width + static_cast<std::size_t>(x)];
    pixel = Darker(pixel, level);
  }
  // Darkens every pixel to its level: the same as shading each bin again, since taking the
  // least of the levels does not depend on their order.
  void DarkenAll(const std::vector<std::uint8_t>& levels) {
    for (std::size_t i = 0; i < levels.size() && i < scene_.pixels.size(); ++i) {
      scene_.pixels[i] = Darker(scene_.pixels[i], levels[i]);
    }
  }
  void Line(PixelPoint from, PixelPoint to, Rgb colour, bool dashed = false) {
    scene_.lines.push_back({from, to, colour, dashed});
  }
  void Outline(PixelPoint a, PixelPoint b, Rgb colour, bool dashed) {
    Line(a, {b.x, a.y}, colour, dashed);
    Line({b.x, a.y}, b, colour, dashed);
    Line(b, {a.x, b.y}, colour, dashed);
    Line({a.x, b.y}, a, colour, dashed);
  }
  void Text(PixelPoint at, std::string text, Rgb colour, TextAlign align = TextAlign::kLeft) {
    scene_.texts.push_back({at, std::move(text), colour, align});
  }

 private:
  static std::uint32_t Darker(std::uint32_t pixel, std::uint8_t level) {
    if (level == 0xFF) return pixel;
    const std::uint32_t red = std::min<std::uint32_t>(pixel >> 16 & 0xFF, level);
    const std::uint32_t green = std::min<std::uint32_t>(pixel >> 8 & 0xFF, level);
    const std::uint32_t blue = std::min<std::uint32_t>(pixel & 0xFF, level);
    return red << 16 | green << 8 | blue;
  }
  static int Clamp(double value, int limit) {
    if (!(value > 0)) return 0;
    return value < limit ? static_cast<int>(value) : limit;
  }
  MapScene& scene_;
};

// Grey for a bin: the more objects, the darker, by a base-2 logarithm taken piecewise linear
// between powers of two, so that every platform computes the same shades; from 38 objects on,
// the darkest.
constexpr std::size_t kShades = 64;
std::array<std::uint8_t, kShades> BinShades() {
  std::array<std::uint8_t, kShades> shades{};
  for (std::size_t count = 1; count < kShades; ++count) {
    const int whole = std::bit_width(count) - 1;
    const double power = static_cast<double>(std::size_t{1} << whole);
    const double logarithm = whole + (static_cast<double>(count) - power) / power;
    shades[count] = static_cast<std::uint8_t>(std::clamp(130 - 16 * logarithm, 50.0, 130.0));
  }
  return shades;
}

// The bins [first, last] along one axis that a span of map units [from, to] meets; empty when
// first > last. The bin numbers stay in floating point until they are clamped to the bins
// there are, so that a view any distance from the objects converts safely.
struct BinSpan {
  int first = 0;
  int last = -1;
};
BinSpan BinsMeeting(double from, double to, double origin, double bin, int bins) {
  const double first = std::floor((from - origin) / bin);
  const double last = std::floor((to - origin) / bin);
  if (!(first < bins && last >= 0)) return {};
  return {static_cast<int>(std::max(first, 0.0)), static_cast<int>(std::min(last, bins - 1.0))};
}

// Half the map coordinate of the middle of bin `index` along one axis: finite however far apart
// the objects lie, where the whole coordinate may overflow.
double HalfMiddle(double origin, int index, double bin) {
  return origin / 2 + (index + 0.5) * (bin / 2);
}

// Along one axis, the part of the mark of bin `index` inside [low, high], in map units; the mark
// reaches `halfMark` either side of the bin's middle. Clipped in map units, the mark's pixels
// stay on the picture.
std::pair<double, double> MarkSpan(double origin, int index, double bin, double halfMark,
                                   double low, double high) {
  const double middle = HalfMiddle(origin, index, bin);
  return {std::clamp(middle - halfMark / 2, low / 2, high / 2) * 2,
          std::clamp(middle + halfMark / 2, low / 2, high / 2) * 2};
}

void DrawExisting(const MissionDensity& density, const MapViewport& viewport, Canvas& canvas) {
  if (density.Count() == 0) return;
  static const std::array<std::uint8_t, kShades> shades = BinShades();
  const MapRectangle visible = viewport.Visible();
  const MapRectangle& bounds = density.Bounds();
  const double bin = density.BinSize();
  const double perPixel = viewport.UnitsPerPixel();
  const auto shade = [&](std::uint32_t count) {
    return shades[std::min<std::size_t>(count, kShades - 1)];
  };
  const bool few = density.Count() <= kFewExisting;
  // Many objects, several bins to a pixel: each darkens the pixel that holds its middle.
  // Otherwise a bin fills its square, and a few objects far apart are each a dot that can be
  // seen.
  const bool pixelEach = bin < perPixel && !few;
  const double halfMark = pixelEach ? 0 : std::max(bin, (few ? 4 : 1) * perPixel) / 2;
  // Only the bins whose marks reach into the view.
  const BinSpan columns = BinsMeeting(visible.left - halfMark, visible.right + halfMark,
                                      bounds.left, bin, density.Columns());
  const BinSpan rows = BinsMeeting(visible.bottom - halfMark, visible.top + halfMark, bounds.bottom,
                                   bin, density.Rows());
  for (int row = rows.first; row <= rows.last; ++row) {
    const auto [bottom, top] =
        MarkSpan(bounds.bottom, row, bin, halfMark, visible.bottom, visible.top);
    for (int column = columns.first; column <= columns.last; ++column) {
      const std::uint32_t count = density.At(column, row);
      if (count == 0) continue;
      if (pixelEach) {
        const PixelPoint middle = viewport.ToPixel(
            {2 * HalfMiddle(bounds.left, column, bin), 2 * HalfMiddle(bounds.bottom, row, bin)});
        canvas.Darken(middle.x, middle.y, shade(count));
        continue;
      }
      const auto [left, right] =
          MarkSpan(bounds.left, column, bin, halfMark, visible.left, visible.right);
      if (!(left < right && bottom < top)) continue;
      const PixelPoint topLeft = viewport.ToPixel({left, top});
      const PixelPoint bottomRight = viewport.ToPixel({right, bottom});
      canvas.Shade(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, shade(count));
    }
  }
}

// Grid lines every nice number of user units, labelled along the bottom and the left.
void DrawGrid(const MapViewport& viewport, Canvas& canvas) {
  const MapRectangle visible = viewport.Visible();
  const double width = viewport.Width();
  const double height = viewport.Height();
  const double span = std::max(visible.right - visible.left, visible.top - visible.bottom);
  const double step = NiceStep(span / kMapUnitsPerUserUnit, kTargetIntervals);
  const PlotAxis xAxis =
      AxisWithStep(visible.left / kMapUnitsPerUserUnit, visible.right / kMapUnitsPerUserUnit, step);
  const PlotAxis yAxis =
      AxisWithStep(visible.bottom / kMapUnitsPerUserUnit, visible.top / kMapUnitsPerUserUnit, step);
  for (const double tick : xAxis.ticks) {
    const double x = viewport.ToPixel({tick * kMapUnitsPerUserUnit, 0}).x;
    if (x < 0 || x > width) continue;
    canvas.Line({x, 0}, {x, height}, kGrid);
    canvas.Text({x, height - 4}, NumberText(tick), kLabel, TextAlign::kCenter);
  }
  for (const double tick : yAxis.ticks) {
    const double y = viewport.ToPixel({0, tick * kMapUnitsPerUserUnit}).y;
    if (y < 0 || y > height) continue;
    canvas.Line({0, y}, {width, y}, kGrid);
    canvas.Text({4, y - 3}, NumberText(tick), kLabel);
  }
}

void DrawRectangle(const MapRectangle& rectangle, const MapViewport& viewport, Rgb colour,
                   Canvas& canvas) {
  canvas.Outline(viewport.ToPixel({rectangle.left, rectangle.top}),
                 viewport.ToPixel({rectangle.right, rectangle.bottom}), colour, true);
}

// Type texts as a reader expects them: numbers by value, then other texts, the empty one last.
struct TypeOrder {
  bool operator()(const std::string& a, const std::string& b) const { return Key(a) < Key(b); }
  static std::tuple<int, double, std::string_view> Key(const std::string& type) {
    if (type.empty()) return {2, 0.0, type};
    if (TextIsNumeric(type)) return {0, TextValue(type), type};
    return {1, 0.0, type};
  }
};

// Dots that stay apart when few, and small enough not to merge when many.
double DotRadius(std::size_t dots) {
  if (dots <= 300) return 3.5;
  if (dots <= 3000) return 2.2;
  return 1.4;
}

// The new objects, one colour per type id in the order of the legend, and the legend: the
// existing objects, then a swatch and a count for each type id, top right.
void DrawNewObjects(const std::vector<DrawnObject>& objects, const MapPicture& picture,
                    const MapViewport& viewport, MapScene& scene, Canvas& canvas) {
  // The type ids by their text first, one look-up an object, and only the few there are put in
  // the legend's order: its numeric comparison costs too much to make for every object.
  std::unordered_map<std::string_view, std::size_t> typeIndex;
  std::vector<std::size_t> typeOf;
  std::vector<std::size_t> typeCounts;
  typeOf.reserve(objects.size());
  for (const DrawnObject& object : objects) {
    const auto [found, added] = typeIndex.try_emplace(object.typeText, typeIndex.size());
    if (added) typeCounts.push_back(0);
    ++typeCounts[found->second];
    typeOf.push_back(found->second);
  }
  std::map<std::string, std::size_t, TypeOrder> counts;
  for (const auto& [type, index] : typeIndex) counts[std::string(type)] = typeCounts[index];
  std::map<std::string, Rgb, TypeOrder> colours;
  std::vector<Rgb> colourOf(typeCounts.size());
  std::size_t next = 0;
  for (const auto& [type, count] : counts) {
    colours[type] = kTypeColours[next++ % kTypeColours.size()];
    colourOf[typeIndex.at(type)] = colours[type];
  }

  const double keepClearRadius = picture.keepClear / viewport.UnitsPerPixel();
  const double spacingRadius = picture.spacing / 2 / viewport.UnitsPerPixel();
  const bool circles = objects.size() <= kMostCircles && !picture.objectsOutOfDate;
  const double dotRadius = DotRadius(objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const DrawnObject& object = objects[i];
    const PixelPoint at = viewport.ToPixel({object.x, object.y});
    const Rgb colour = picture.objectsOutOfDate ? kOutOfDate : colourOf[typeOf[i]];
    if (picture.objectsAsDots) {
      scene.dots.push_back({at, dotRadius, colour, object.typeText});
    } else {
      canvas.Fill(at.x - 1.5, at.y - 1.5, at.x + 1.5, at.y + 1.5, colour);
    }
    if (!circles) continue;
    if (keepClearRadius >= kSmallestCircle) {
      scene.circles.push_back({at, keepClearRadius, kKeepClear});
    }
    if (spacingRadius >= kSmallestCircle) scene.circles.push_back({at, spacingRadius, kSpacing});
  }

  const double scale = picture.textScale;
  const double right = scene.width - 8 * scale;
  double y = 8 * scale;
  const auto legendLine = [&](Rgb colour, std::string text) {
    canvas.Fill(right - 10 * scale, y, right, y + 10 * scale, colour);
    canvas.Text({right - 16 * scale, y + 10 * scale}, std::move(text), kText, TextAlign::kRight);
    y += kLineHeight * scale;
  };
  if (picture.existing != nullptr && picture.existing->Count() > 0) {
    legendLine(kExisting,
               "existing objects: " + NumberText(static_cast<double>(picture.existing->Count())));
  }
  if (picture.written != nullptr && !picture.written->empty()) {
    legendLine(kWritten,
               "written objects: " + NumberText(static_cast<double>(picture.written->size())));
  }
  if (picture.takenBack != nullptr && !picture.takenBack->empty()) {
    legendLine(kTakenBack,
               "to take back: " + NumberText(static_cast<double>(picture.takenBack->size())));
  }
  if (picture.objectsOutOfDate) {
    legendLine(kOutOfDate, "updating the new objects");
    return;
  }
  for (const auto& [type, count] : counts) {
    legendLine(colours[type], TypeLabel(type) + ": " + NumberText(static_cast<double>(count)));
  }
}

// The bytes of the first `characters` characters of UTF-8 text, or all of it when shorter.
std::size_t LeadingBytes(std::string_view text, std::size_t characters) {
  std::size_t at = 0;
  for (; at < text.size(); ++at) {
    const bool startsCharacter = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
    if (startsCharacter && characters-- == 0) break;
  }
  return at;
}

// The paragraph in lines of at most `width` characters, broken at the last blank that lets a
// line fit (the blank itself is left out); a word longer than a line is broken where it must.
void WrapParagraph(std::string_view paragraph, std::size_t width, std::vector<std::string>& lines) {
  while (LeadingBytes(paragraph, width) < paragraph.size()) {
    const std::size_t fits = LeadingBytes(paragraph, width);
    const std::size_t blank = paragraph.rfind(' ', fits);
    const bool atBlank = blank != std::string_view::npos && blank > 0;
    lines.emplace_back(paragraph.substr(0, atBlank ? blank : fits));
    paragraph.remove_prefix(atBlank ? blank + 1 : fits);
  }
  lines.emplace_back(paragraph);
}

// The message, centred, on a band of its own so that it reads also over a dense map. Its CR LF
// line breaks are kept, and lines too long for the picture are wrapped.
void DrawProblem(const std::string& problem, double scale, const MapScene& scene, Canvas& canvas) {
  // The picture's font has no metrics here: wide enough a guess at its characters that a line
  // of ordinary text fits in the picture's width.
  const double characterWidth = 7.5 * scale;
  const double sideMargin = 8 * scale;
  const double lineHeight = kLineHeight * scale;
  const double usable = std::max(scene.width - 2 * sideMargin, characterWidth);
  const auto width = static_cast<std::size_t>(usable / characterWidth);
  std::vector<std::string> lines;
  for (std::size_t from = 0; from <= problem.size();) {
    const std::size_t end = std::min(problem.find("\r\n", from), problem.size());
    WrapParagraph(std::string_view(problem).substr(from, end - from), width, lines);
    from = end + 2;
  }
  double y = scene.height / 2.0 - lineHeight * (static_cast<double>(lines.size()) - 1) / 2;
  canvas.Fill(0, y - lineHeight, scene.width,
              y + lineHeight * (static_cast<double>(lines.size()) - 0.5), kMessageBand);
  for (std::string& line : lines) {
    canvas.Text({scene.width / 2.0, y}, std::move(line), kText, TextAlign::kCenter);
    y += lineHeight;
  }
}

}  // namespace

bool ExistingShades::Fits(const MapViewport& viewport) const {
  return width == viewport.Width() && height == viewport.Height() && visible == viewport.Visible();
}

ExistingShades ShadeExisting(const MissionDensity& existing, const MapViewport& viewport) {
  MapScene white;
  white.width = viewport.Width();
  white.height = viewport.Height();
  white.pixels.assign(static_cast<std::size_t>(white.width) * white.height, 0xFFFFFF);
  Canvas canvas(white);
  DrawExisting(existing, viewport, canvas);
  ExistingShades shades{viewport.Visible(), white.width, white.height, {}};
  shades.levels.reserve(white.pixels.size());
  // The marks are grey: each channel holds the level.
  for (const std::uint32_t pixel : white.pixels) shades.levels.push_back(pixel & 0xFF);
  return shades;
}

MapScene DrawMapScene(const MapPicture& picture, const MapViewport& viewport) {
  MapScene scene;
  scene.width = viewport.Width();
  scene.height = viewport.Height();
  scene.pixels.assign(static_cast<std::size_t>(scene.width) * scene.height, kBackground.Packed());
  if (picture.background) PaintBackground(*picture.background, viewport, scene);
  // The areas are ground the objects stand on.
  PaintAreaFills(picture.areas, viewport, scene);
  Canvas canvas(scene);
  DrawGrid(viewport, canvas);
  if (picture.existingShades != nullptr && picture.existingShades->Fits(viewport)) {
    canvas.DarkenAll(picture.existingShades->levels);
  } else if (picture.existing != nullptr) {
    DrawExisting(*picture.existing, viewport, canvas);
  }
  if (picture.area) DrawRectangle(*picture.area, viewport, kArea, canvas);
  if (picture.written != nullptr) {
    // Larger than a preview's marks, in a colour of their own: these are in the file now.
    for (const DrawnObject& object : *picture.written) {
      const PixelPoint at = viewport.ToPixel({object.x, object.y});
      canvas.Fill(at.x - 2.5, at.y - 2.5, at.x + 2.5, at.y + 2.5, kWritten);
    }
  }
  if (picture.takenBack != nullptr) {
    // Over the mission's own marks, larger still: these are the ones about to go.
    for (const DrawnObject& object : *picture.takenBack) {
      const PixelPoint at = viewport.ToPixel({object.x, object.y});
      canvas.Fill(at.x - 3.5, at.y - 3.5, at.x + 3.5, at.y + 3.5, kTakenBack);
    }
  }
  if (picture.objects != nullptr)
    DrawNewObjects(*picture.objects, picture, viewport, scene, canvas);
  PaintAreaOutlines(picture.areas, picture.sketch, picture.cursor, viewport, scene);
  if (picture.band) DrawRectangle(*picture.band, viewport, kBand, canvas);
  if (!picture.problem.empty()) DrawProblem(picture.problem, picture.textScale, scene, canvas);
  if (!picture.title.empty()) canvas.Text({8, 20}, picture.title, kText);
  return scene;
}

MapRectangle WholePicture(const MissionDensity* existing, const std::optional<MapRectangle>& area) {
  std::optional<MapRectangle> shown = area;
  if (existing != nullptr && existing->Count() > 0) {
    const MapRectangle& bounds = existing->Bounds();
    shown =
        shown ? MapRectangle{std::min(shown->left, bounds.left),
                             std::min(shown->bottom, bounds.bottom),
                             std::max(shown->right, bounds.right), std::max(shown->top, bounds.top)}
              : bounds;
  }
  // With nothing to show, the area the boxes start with: 1024 user units around the center.
  constexpr double kDefaultHalfSide = 1024 * kMapUnitsPerUserUnit;
  MapRectangle rectangle = shown.value_or(
      MapRectangle{-kDefaultHalfSide, -kDefaultHalfSide, kDefaultHalfSide, kDefaultHalfSide});
  // A single object, or a line of them, still gets a view around it.
  if (rectangle.right - rectangle.left < kMapUnitsPerUserUnit &&
      rectangle.top - rectangle.bottom < kMapUnitsPerUserUnit) {
    rectangle = rectangle.Grown(16 * kMapUnitsPerUserUnit);
  }
  return rectangle;
}

std::string TypeLabel(const std::string& typeText) {
  return typeText.empty() ? "(empty)" : typeText;
}

}  // namespace bosquell
