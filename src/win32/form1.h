#pragma once

#include <windows.h>

#include <memory>

#include "placement/random_source.h"
#include "win32/form1_window.h"
#include "win32/map_window.h"
#include "win32/preview_mailbox.h"
#include "win32/windows_drives.h"
#include "window_logic/map_logic.h"
#include "window_logic/window_logic.h"

namespace bosquell::win32 {

// The program's window: the native controls, the drive letters and the window logic that
// reacts to the user, wired together and loaded (theme list filled, lists on the current
// directory), not yet shown; and the map window with its logic, made when it is first opened.
class Form1 {
 public:
  // `presenter` shows every message box; `random` feeds the runs (a clock-seeded generator
  // when none is given); `mapSeeds` gives the map's preview seeds (ClockPreviewSeed when none
  // is).
  explicit Form1(HINSTANCE instance, MessagePresenter presenter = ShowMessageBox,
                 std::unique_ptr<RandomSource> random = nullptr, PreviewSeeds mapSeeds = nullptr);

  Form1Window& Window() { return window_; }
  WindowLogic& Logic() { return logic_; }
  bosquell::MapLogic& Map() { return map_; }
  MapWindow& MapFrame() { return mapWindow_; }
  // The map's previews drawn on a thread of their own, handed back through a posted message;
  // until this is called they are drawn at once, as the tests have them.
  void DrawPreviewsOnAThread();

 private:
  Form1Window window_;
  MapWindow mapWindow_;
  WindowsDrives drives_;
  std::unique_ptr<RandomSource> random_;
  WindowLogic logic_;
  // Before the map: the preview thread, which the map owns, stops before the mailbox goes.
  std::unique_ptr<PreviewMailbox> previewMailbox_;
  MapLogic map_;
};

}  // namespace bosquell::win32
