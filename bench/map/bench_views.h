#pragma once

// The views the map's benchmarks drive the map logic through, without a window.

#include <map>
#include <string>
#include <vector>

#include "window_logic/map_view.h"
#include "window_logic/window_view.h"

namespace bosquell {

// A main window that only holds texts: the area's defaults and the largest count.
class TextsOnly final : public WindowView {
 public:
  std::string Text(Control control) const override { return texts.at(control); }
  void SetText(Control control, const std::string& text) override { texts[control] = text; }
  void SetEntries(Control, const std::vector<std::string>&) override {}
  int SelectedIndex(Control) const override { return -1; }
  void Select(Control, int) override {}
  void ShowDirectories(const std::vector<DirectoryEntry>&, int) override {}
  void ShowMessage(const std::string&) override {}
  void SetWindowEnabled(bool) override {}
  void EndProgram() override {}

  std::map<Control, std::string> texts{{Control::kCenterX, "0"},    {Control::kRangeY, "1024"},
                                       {Control::kCenterY, "0"},    {Control::kRangeX, "1024"},
                                       {Control::kCount, "32766"},  {Control::kOwnId, ""},
                                       {Control::kTheme, "Jungel"}, {Control::kStatus, ""}};
};

class NoWindow final : public MapView {
 public:
  void Open() override {}
  void Close() override {}
  void Refresh() override {}
};

}  // namespace bosquell
