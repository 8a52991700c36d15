#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/form1_controls.h"
#include "window_logic/window_view.h"

namespace bosquell {
class MapLogic;
class WindowLogic;
}  // namespace bosquell

namespace bosquell::win32 {

class MapWindow;

// Shows one message and returns once it has been dismissed. The real one is a MessageBoxW;
// tests record the text instead of blocking on a box.
using MessagePresenter = std::function<void(HWND owner, const std::string& text)>;

// A modal box with the text, the caption "Bosquell", a single OK button and no icon. It takes all
// input from its owner while it shows and gives the owner the activation back when it closes,
// whether the owner was enabled or not.
void ShowMessageBox(HWND owner, const std::string& text);

// Form1 made of the platform's own controls: each control is a child of the window, placed in
// twips scaled to the monitor's dpi, with an id that says which control of the table it is.
class Form1Window final : public WindowView {
 public:
  Form1Window(HINSTANCE instance, MessagePresenter presenter);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // Where the user's actions go.
  void Connect(WindowLogic* logic) { logic_ = logic; }
  // What "&View" > "&Map" and F2 open, and its window, in front of which a box from the map
  // stands.
  void ConnectMap(MapLogic* map, const MapWindow* mapWindow) {
    map_ = map;
    mapWindow_ = mapWindow;
  }

  HWND Handle() const { return window_; }
  // The map's window, null until it is first opened.
  HWND MapHandle() const;
  // The native control of a control of the layout table.
  HWND ControlHandle(Control control) const;
  HACCEL Accelerators() const { return accelerators_; }
  // The map window's own keys (Ctrl+O, Ctrl+S), null before the map is connected.
  HACCEL MapAccelerators() const;

  std::string Text(Control control) const override;
  void SetText(Control control, const std::string& text) override;
  void SetEntries(Control list, const std::vector<std::string>& entries) override;
  int SelectedIndex(Control list) const override;
  void Select(Control list, int index) override;
  void ShowDirectories(const std::vector<DirectoryEntry>& entries, int current) override;
  void ShowMessage(const std::string& text) override;
  void SetWindowEnabled(bool enabled) override;
  void EndProgram() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void CreateMenuBar();
  void ApplyDpi(UINT dpi);
  void OnCommand(int id, int code);
  void OnControlCommand(Control control, int code);
  void OnMenuCommand(MenuId id);
  void OnEnter();
  void DrawDirectoryEntry(const DRAWITEMSTRUCT& item);
  // The control that has the focus, noted; and the focus given back to it.
  void RememberFocus();
  void RestoreFocus();

  HINSTANCE instance_;
  MessagePresenter presenter_;
  WindowLogic* logic_ = nullptr;
  MapLogic* map_ = nullptr;
  const MapWindow* mapWindow_ = nullptr;
  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  std::vector<HFONT> fonts_;
  HWND focus_ = nullptr;  // the control that gets the focus back
  int quiet_ = 0;         // > 0 while the program itself changes a control
};

// Handles one message as the message loop does: the map's Ctrl+O and Ctrl+S, then the F1 and F2
// accelerators, as commands to the window the message is for (the main window or the map: F2 in
// the map closes it), then the dialog keys of that window (Tab and Shift+Tab move the focus, Enter
// opens in the lists, Esc closes the map), then everything else.
void DispatchWindowMessage(const Form1Window& window, MSG& message);

// Runs the window's messages until it is closed. Returns the exit code.
int RunMessageLoop(const Form1Window& window);

}  // namespace bosquell::win32
