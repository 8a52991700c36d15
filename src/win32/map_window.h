#pragma once

#include <windows.h>

#include <memory>

#include "win32/scene_painter.h"
#include "window_logic/map_view.h"

namespace bosquell {
class MapLogic;
}

namespace bosquell::win32 {

// The map window's controls, by their ids, in tab order.
enum class MapControlId : int {
  Picture = 300,
  KeepClearLabel,
  KeepClear,
  SpacingLabel,
  Spacing,
  Reroll,
  Status,
};

// The map window, "Bosquell map": a resizable top-level window with the picture, the two rule
// fields, the "Reroll" button and a status line. It paints what the map logic decides and
// forwards the user's mouse, keys and edits to it. Created the first time it is opened; closing
// it only hides it.
class MapWindow final : public MapView {
 public:
  // `mainWindow` gets the activation back when the map closes.
  MapWindow(HINSTANCE instance, HWND mainWindow);
  ~MapWindow() override;
  MapWindow(const MapWindow&) = delete;
  MapWindow& operator=(const MapWindow&) = delete;

  void Connect(MapLogic* logic) { logic_ = logic; }

  // Null until the window is first opened.
  HWND Handle() const { return window_; }
  HWND Control(MapControlId id) const;

  void Open() override;
  void Close() override;
  void Refresh() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandlePictureMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Create();
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void Layout();
  void OnCommand(int id, int code);
  void UserClosed();
  void RestoreFocus();
  void PaintPicture();
  bool OnPictureKey(WPARAM key);
  bool OnPictureCharacter(wchar_t character);
  void OnWheel(WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND mainWindow_;
  MapLogic* logic_ = nullptr;
  HWND window_ = nullptr;
  HWND picture_ = nullptr;
  HWND lastFocus_ = nullptr;  // where the focus was when the window was last active
  HFONT controlFont_ = nullptr;
  HFONT pictureFont_ = nullptr;
  std::unique_ptr<SceneBitmap> buffer_;
  int quiet_ = 0;  // > 0 while the window itself sets a field's text
  bool trackingLeave_ = false;
};

}  // namespace bosquell::win32
