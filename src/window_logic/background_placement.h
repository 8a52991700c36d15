#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/map_point.h"
#include "files/mission_stamp.h"
#include "map/background_picture.h"
#include "map/map_background.h"
#include "map/map_viewport.h"

namespace bosquell {

// Where a picture lies on the map: the map positions of its top-left and bottom-right corners.
struct BackgroundCorners {
  MapPoint topLeft;
  MapPoint bottomRight;
};

// One point of a two-point alignment: a spot on the picture, in pixels of the whole picture
// from its top-left corner, and the map position the user gives it.
struct AlignmentPoint {
  PixelPoint onPicture;
  MapPoint onMap;
};

// A map position as the user types it: "x, y" in user units, two numbers as the main window's
// boxes take them; in map units, or nothing when the text is not two such numbers.
std::optional<MapPoint> TypedMapPosition(std::string_view text);

// What the windows ask for a map position: of a point picked on the picture, and of its corners.
inline constexpr char kAlignmentPositionPrompt[] =
    "Map position of the point, in user units (x, y):";
inline constexpr char kTopLeftCornerPrompt[] =
    "Map position of the picture's top-left corner, in user units (x, y):";
inline constexpr char kBottomRightCornerPrompt[] =
    "Map position of the picture's bottom-right corner, in user units (x, y):";

// What the status line says about a typed text that is no map position.
inline constexpr char kMapPositionHelp[] =
    "A map position is two numbers in user units, x and y, such as 120, -45.5.";

// The picture's four corners, for dragging one of them.
enum class PictureCorner { kTopLeft, kTopRight, kBottomRight, kBottomLeft };

// Why the corners cannot place a picture, or empty: those of BackgroundCornersProblem, and
// corners that leave the 32-bit map coordinates, which a recipe could not hold.
std::string PlacementProblem(const BackgroundCorners& corners);

// A picture of width x height pixels laid over the middle of `visible` as large as fits, its
// pixels square on the map.
BackgroundCorners FittedCorners(int width, int height, const MapRectangle& visible);

// The corners that put both points of the picture (width x height pixels) on their map
// positions, each axis scaled on its own; or why none do: points that share a column or a row
// of the picture leave that axis open, and map positions that lie the other way round would
// mirror the picture.
std::variant<std::string, BackgroundCorners> AlignedCorners(const AlignmentPoint& first,
                                                            const AlignmentPoint& second, int width,
                                                            int height);

// The corners with one of them moved to `to`: that corner's two edges follow it.
BackgroundCorners WithCornerAt(const BackgroundCorners& corners, PictureCorner corner, MapPoint to);

// The picture under the map window's map: the file chosen, its pixels read once with their
// smaller copies, where it lies, how much of it shows, and a two-point alignment under way.
// A redraw never reads the file; a file that changed or went since it was read is noticed by
// Refresh. Problems are lines for the map's status line.
class BackgroundPlacement {
 public:
  // Reads the picture at `utf8Path` and lays it over `visible` as FittedCorners does. The
  // picture shown before goes first, so that two are never held; when the new one cannot be
  // read, Problem() says why and none is shown. The opacity stays as it was set.
  bool Choose(const std::string& utf8Path, const MapRectangle& visible);
  // The picture at `utf8Path` at these corners (already checked) and opacity: the file is read
  // only when it is not the one read or tried last, so that a redraw never reads it again. One
  // that cannot be read is not shown, and Problem() says why.
  void Show(const std::string& utf8Path, const BackgroundCorners& corners, double opacity);
  // Reads the file again when it changed on disk since it was read or tried: a file that is gone
  // or no longer a picture is drawn no more, and Problem() says why; it shows again, at the same
  // corners, once it is back. True when it looked at the file again.
  bool Refresh();
  // Drops the picture; the opacity stays.
  void Remove();

  // Moves the picture to typed corners; refused with the reason (also in Problem()).
  bool SetCorners(const BackgroundCorners& corners);
  // The corner of the picture within `reachPixels` of `at` on the screen, if any.
  std::optional<PictureCorner> CornerNear(PixelPoint at, const MapViewport& viewport,
                                          double reachPixels) const;
  // A corner dragged to `to`; a place that leaves the picture no width or height, or turns it
  // over, is not taken and the picture stays where it was last.
  void DragCorner(PictureCorner corner, MapPoint to);
  // From 0 (only white) to 1; other values are brought into that range, and one that is not a
  // number is ignored.
  void SetOpacity(double opacity);

  // Two-point alignment: the spot the user clicked on the screen becomes a point on the picture
  // (nothing when the click misses the picture); the map position typed for it completes the
  // point. The second point moves the picture, or Problem() says why it cannot; either way the
  // alignment starts over.
  std::optional<PixelPoint> PictureSpotAt(PixelPoint screen, const MapViewport& viewport) const;
  bool AddAlignmentPoint(const AlignmentPoint& point);
  // The point with its map position as typed; a text that is no position is refused, with why.
  bool AddAlignmentPoint(PixelPoint onPicture, std::string_view typedPosition);
  void CancelAlignment() { alignment_.clear(); }
  const std::vector<AlignmentPoint>& AlignmentPoints() const { return alignment_; }

  // What the map paints under everything else, while the picture can be shown.
  std::optional<MapBackground> ForMap() const;
  bool HasPicture() const { return picture_.has_value(); }
  const std::string& Path() const { return path_; }
  const BackgroundCorners& Corners() const { return corners_; }
  double Opacity() const { return opacity_; }
  const std::string& Problem() const { return problem_; }

 private:
  // Reads the file into `picture_`, noting its path and stamp; false with the problem when it
  // fails.
  bool Read(const std::string& utf8Path);

  std::string path_;
  MissionStamp stamp_;  // of the file as it was read
  std::optional<BackgroundPicture> picture_;
  int width_ = 0;  // the picture's size, kept while the file is gone
  int height_ = 0;
  BackgroundCorners corners_;
  double opacity_ = 1;
  std::vector<AlignmentPoint> alignment_;
  std::string problem_;
};

}  // namespace bosquell
