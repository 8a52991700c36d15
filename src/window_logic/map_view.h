#pragma once

namespace bosquell {

// What the map logic asks of a map window. The window paints MapLogic::Scene() for its picture's
// size and shows MapLogic::StatusText() in its status line; it forwards the user's events to the
// MapLogic and changes nothing by itself.
class MapView {
 public:
  virtual ~MapView() = default;

  // Shows the map window, creating it the first time or restoring it when it is minimized, and
  // makes it the active window.
  virtual void Open() = 0;
  // Hides the map window; the main window becomes the active one.
  virtual void Close() = 0;
  // What the window shows has changed: the picture and the status line are painted again.
  virtual void Refresh() = 0;
};

}  // namespace bosquell
