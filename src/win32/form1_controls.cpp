#include "win32/form1_controls.h"

#include <array>

#include "run/add_objects_run.h"
#include "window_logic/window_texts.h"

namespace bosquell::win32 {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr std::array<ControlLayout, 23> kControls{{
    {S, None, K::kFrame, "Select Mission File:", 3480, 0, 5175, 5295},
    {Frame2, None, K::kFrame, "Center Offset:", 120, 0, 3255, 975},
    {Frame3, Frame2, K::kFrame, "X", 120, 240, 1455, 615},
    {Frame4, Frame2, K::kFrame, "Y", 1680, 240, 1455, 615},
    {Frame5, None, K::kFrame, "Range:", 120, 1080, 3255, 975},
    {Frame6, Frame5, K::kFrame, "X", 120, 240, 1455, 615},
    {Frame7, Frame5, K::kFrame, "Y", 1680, 240, 1455, 615},
    {Frame1, None, K::kFrame, "Number of objects to add:", 120, 2160, 3255, 615},
    {Frame8, None, K::kFrame, "Select Tree order:", 120, 2880, 3255, 615},
    {Frame9, None, K::kFrame, "Advanced: Enter own object id:", 120, 3600, 3255, 615},
    {Drive1, S, K::kDriveList, "", 2520, 240, 2535, 315},
    {File1, S, K::kFileList, "", 120, 600, 2295, 4575},
    {Dir1, S, K::kDirectoryList, "", 2520, 600, 2535, 4590},
    {Command1, None, K::kButton, "Add Objects", 120, 4320, 3255, 975, 0, 13.5},
    {Text1, Frame3, K::kTextBox, "0", 120, 240, 1215, 285, 6},
    {Text3, Frame4, K::kTextBox, "0", 120, 240, 1215, 285, 6},
    {Text4, Frame6, K::kTextBox, "1024", 120, 240, 1215, 285, 6},
    {Text2, Frame7, K::kTextBox, "1024", 120, 240, 1215, 285, 6},
    {Command2, S, K::kButton, "Open", 120, 240, 2295, 375},
    {Text5, Frame1, K::kTextBox, "20", 120, 240, 3015, 285, 3},
    {Combo1, Frame8, K::kComboBox, kThemePrompt, 120, 240, 3015, 315},
    {Text6, Frame9, K::kTextBox, "", 120, 240, 3015, 285, 6},
    {Label1, None, K::kLabel, kStatusPleaseOpen, 120, 5400, 8535, 375, 0, 12},
}};

}  // namespace

std::span<const ControlLayout> Form1Controls() {
  return kControls;
}

}  // namespace bosquell::win32
