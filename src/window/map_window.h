#pragma once

#include <memory>

#include "window_logic/map_view.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace bosquell {

class MapCanvas;
class MapFrame;
class MapLogic;

// The map window as Qt shows it: the picture, the "Keep clear:" and "Spacing:" fields, the
// "Reroll" button and the status line, in a modeless, resizable window titled "Bosquell map".
// The window is built the first time it opens, so that a program that never shows the map never
// pays for it. Everything it shows comes from the MapLogic, and every event goes there.
class MapWindow final : public MapView {
 public:
  // `mainWindow` becomes the active window again when the map closes.
  explicit MapWindow(QWidget* mainWindow);
  ~MapWindow() override;
  MapWindow(const MapWindow&) = delete;
  MapWindow& operator=(const MapWindow&) = delete;

  // The logic the window shows and forwards to; set once, before the window first opens.
  void setLogic(MapLogic& logic) { logic_ = &logic; }

  // The top-level window, or nullptr before it first opened.
  QWidget* window() const;

  // MapView.
  void Open() override;
  void Close() override;
  void Refresh() override;

 private:
  void build();

  QWidget* mainWindow_;
  MapLogic* logic_ = nullptr;
  std::unique_ptr<MapFrame> frame_;
  MapCanvas* canvas_ = nullptr;
  QLineEdit* keepClear_ = nullptr;
  QLineEdit* spacing_ = nullptr;
  QPushButton* reroll_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace bosquell
