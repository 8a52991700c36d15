#include "window_logic/background_placement.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/number_text.h"
#include "map/picture_reader.h"
#include "placement/placement.h"

namespace bosquell {
namespace {

// The picture position of a map point, from its size and corners alone.
PixelPoint OnPicture(const BackgroundCorners& corners, int width, int height, MapPoint point) {
  const MapPoint& topLeft = corners.topLeft;
  const MapPoint& bottomRight = corners.bottomRight;
  return {(point.x - topLeft.x) / (bottomRight.x - topLeft.x) * width,
          (topLeft.y - point.y) / (topLeft.y - bottomRight.y) * height};
}

}  // namespace

std::optional<MapPoint> TypedMapPosition(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string_view x = text.substr(0, comma);
  const std::string_view y = text.substr(comma + 1);
  if (!TextIsNumeric(x) || !TextIsNumeric(y)) return std::nullopt;
  const MapPoint point{TextValue(x) * kMapUnitsPerUserUnit, TextValue(y) * kMapUnitsPerUserUnit};
  if (!FitsMapCoordinate(point.x) || !FitsMapCoordinate(point.y)) return std::nullopt;
  return point;
}

std::string PlacementProblem(const BackgroundCorners& corners) {
  std::string problem = BackgroundCornersProblem(corners.topLeft, corners.bottomRight);
  if (!problem.empty()) return problem;
  for (const double value :
       {corners.topLeft.x, corners.topLeft.y, corners.bottomRight.x, corners.bottomRight.y}) {
    if (!FitsMapCoordinate(value)) return "the picture's corners lie beyond the map";
  }
  return {};
}

BackgroundCorners FittedCorners(int width, int height, const MapRectangle& visible) {
  const double unitsPerPixel =
      std::min((visible.right - visible.left) / width, (visible.top - visible.bottom) / height);
  const MapPoint middle{(visible.left + visible.right) / 2, (visible.bottom + visible.top) / 2};
  const double halfWidth = unitsPerPixel * width / 2;
  const double halfHeight = unitsPerPixel * height / 2;
  return {{middle.x - halfWidth, middle.y + halfHeight},
          {middle.x + halfWidth, middle.y - halfHeight}};
}

std::variant<std::string, BackgroundCorners> AlignedCorners(const AlignmentPoint& first,
                                                            const AlignmentPoint& second, int width,
                                                            int height) {
  const double across = second.onPicture.x - first.onPicture.x;
  const double down = second.onPicture.y - first.onPicture.y;
  if (across == 0 && down == 0) return std::string("the two points on the picture coincide");
  if (across == 0 || down == 0) {
    return std::string(
        "the two points on the picture must differ both across and down: pick them diagonally "
        "apart");
  }
  // Map units per picture pixel; y grows down the picture and up the map.
  const double xScale = (second.onMap.x - first.onMap.x) / across;
  const double yScale = (first.onMap.y - second.onMap.y) / down;
  if (!(xScale > 0 && yScale > 0)) {
    return std::string(
        "the map positions lie the other way round from the points on the picture: it would be "
        "mirrored");
  }
  const MapPoint topLeft{first.onMap.x - first.onPicture.x * xScale,
                         first.onMap.y + first.onPicture.y * yScale};
  const BackgroundCorners corners{topLeft,
                                  {topLeft.x + width * xScale, topLeft.y - height * yScale}};
  if (std::string problem = PlacementProblem(corners); !problem.empty()) return problem;
  return corners;
}

BackgroundCorners WithCornerAt(const BackgroundCorners& corners, PictureCorner corner,
                               MapPoint to) {
  BackgroundCorners moved = corners;
  const bool left = corner == PictureCorner::kTopLeft || corner == PictureCorner::kBottomLeft;
  const bool top = corner == PictureCorner::kTopLeft || corner == PictureCorner::kTopRight;
  (left ? moved.topLeft.x : moved.bottomRight.x) = to.x;
  (top ? moved.topLeft.y : moved.bottomRight.y) = to.y;
  return moved;
}

bool BackgroundPlacement::Read(const std::string& utf8Path) {
  // The old picture goes first: two of the largest would not fit the window's memory.
  const double opacity = opacity_;
  Remove();
  opacity_ = opacity;
  // The path and the stamp from before the read are kept even when it fails: a write while it
  // reads, or a file put back, is read again at the next Refresh.
  path_ = utf8Path;
  stamp_ = StampOf(utf8Path);
  PictureReading reading = ReadBackgroundPicture(utf8Path);
  if (!reading.picture) {
    problem_ = std::move(reading.problem);
    return false;
  }
  picture_ = std::move(reading.picture);
  width_ = picture_->Width();
  height_ = picture_->Height();
  return true;
}

bool BackgroundPlacement::Choose(const std::string& utf8Path, const MapRectangle& visible) {
  if (!Read(utf8Path)) return false;
  corners_ = FittedCorners(width_, height_, visible);
  if (std::string problem = PlacementProblem(corners_); !problem.empty()) {
    Remove();
    problem_ = std::move(problem);
    return false;
  }
  return true;
}

void BackgroundPlacement::Show(const std::string& utf8Path, const BackgroundCorners& corners,
                               double opacity) {
  if (utf8Path != path_) Read(utf8Path);
  corners_ = corners;
  SetOpacity(opacity);
}

bool BackgroundPlacement::Refresh() {
  if (path_.empty() || StampOf(path_) == stamp_) return false;
  // The old pixels go before the new ones are read, so that two pictures are never held.
  picture_.reset();
  stamp_ = StampOf(path_);
  PictureReading reading = ReadBackgroundPicture(path_);
  if (!reading.picture) {
    problem_ = std::move(reading.problem);
    return true;
  }
  // The corners stay where they are: a picture of another size is stretched to them.
  picture_ = std::move(reading.picture);
  width_ = picture_->Width();
  height_ = picture_->Height();
  problem_.clear();
  return true;
}

void BackgroundPlacement::Remove() {
  const double opacity = opacity_;
  *this = BackgroundPlacement();
  opacity_ = opacity;  // the slider's, for the next picture chosen
}

bool BackgroundPlacement::SetCorners(const BackgroundCorners& corners) {
  if (std::string problem = PlacementProblem(corners); !problem.empty()) {
    problem_ = std::move(problem);
    return false;
  }
  corners_ = corners;
  alignment_.clear();
  problem_.clear();
  return true;
}

std::optional<PictureCorner> BackgroundPlacement::CornerNear(PixelPoint at,
                                                             const MapViewport& viewport,
                                                             double reachPixels) const {
  if (!picture_) return std::nullopt;
  std::optional<PictureCorner> nearest;
  double nearestSquared = reachPixels * reachPixels;
  for (const PictureCorner corner : {PictureCorner::kTopLeft, PictureCorner::kTopRight,
                                     PictureCorner::kBottomRight, PictureCorner::kBottomLeft}) {
    const BackgroundCorners& c = corners_;
    const bool left = corner == PictureCorner::kTopLeft || corner == PictureCorner::kBottomLeft;
    const bool top = corner == PictureCorner::kTopLeft || corner == PictureCorner::kTopRight;
    const PixelPoint screen = viewport.ToPixel(
        {left ? c.topLeft.x : c.bottomRight.x, top ? c.topLeft.y : c.bottomRight.y});
    const double dx = screen.x - at.x;
    const double dy = screen.y - at.y;
    if (dx * dx + dy * dy <= nearestSquared) {
      nearestSquared = dx * dx + dy * dy;
      nearest = corner;
    }
  }
  return nearest;
}

void BackgroundPlacement::DragCorner(PictureCorner corner, MapPoint to) {
  const BackgroundCorners moved = WithCornerAt(corners_, corner, to);
  if (PlacementProblem(moved).empty()) corners_ = moved;
  alignment_.clear();
}

void BackgroundPlacement::SetOpacity(double opacity) {
  if (std::isnan(opacity)) return;
  opacity_ = std::clamp(opacity, 0.0, 1.0);
}

std::optional<PixelPoint> BackgroundPlacement::PictureSpotAt(PixelPoint screen,
                                                             const MapViewport& viewport) const {
  if (!picture_) return std::nullopt;
  const PixelPoint spot = OnPicture(corners_, width_, height_, viewport.ToMap(screen));
  if (!(spot.x >= 0 && spot.x <= width_ && spot.y >= 0 && spot.y <= height_)) return std::nullopt;
  return spot;
}

bool BackgroundPlacement::AddAlignmentPoint(const AlignmentPoint& point) {
  if (!picture_) return false;
  alignment_.push_back(point);
  if (alignment_.size() < 2) return true;
  const auto aligned = AlignedCorners(alignment_[0], alignment_[1], width_, height_);
  alignment_.clear();
  if (const std::string* problem = std::get_if<std::string>(&aligned)) {
    problem_ = "The picture cannot be aligned: " + *problem + ".";
    return false;
  }
  corners_ = std::get<BackgroundCorners>(aligned);
  problem_.clear();
  return true;
}

bool BackgroundPlacement::AddAlignmentPoint(PixelPoint onPicture, std::string_view typedPosition) {
  const std::optional<MapPoint> onMap = TypedMapPosition(typedPosition);
  if (!onMap) {
    problem_ = kMapPositionHelp;
    return false;
  }
  return AddAlignmentPoint({onPicture, *onMap});
}

std::optional<MapBackground> BackgroundPlacement::ForMap() const {
  if (!picture_) return std::nullopt;
  return MapBackground{&*picture_, corners_.topLeft, corners_.bottomRight, opacity_};
}

}  // namespace bosquell
