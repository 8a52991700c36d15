#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "form/form_inputs.h"
#include "window_logic/window_texts.h"

namespace bosquell {

// What a control of Form1 is; each window picks its toolkit's widget for it.
enum class ControlKind {
  kFrame,
  kCommandButton,
  kDriveList,
  kFileList,
  kDirectoryList,
  kTextBox,
  kComboBox,
  kLabel,
};

// A place and size in twips: 1440 to the inch, 15 to a pixel at 96 dpi.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const TwipsRect&) const = default;
};

// One control of Form1, as both windows build it.
struct ControlLayout {
  std::string_view name;  // the control's name, which each window gives it too
  ControlKind kind;
  std::string_view container;  // the frame it sits in; "" for the window's client area
  TwipsRect place;             // from the container's outer top-left corner
  std::string_view caption;    // caption or initial text; "" for the three lists
  int textLimit = 0;           // most characters typed or pasted into a text box; 0: no limit
  int tabIndex = 0;            // position among all 23 controls; frames and the label take none
  std::string_view accessibleName = {};  // what a screen reader announces; "" for frames
  double pointSize = 8;                  // "MS Sans Serif", regular weight
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidthTwips = 8730;
inline constexpr int kClientHeightTwips = 5865;

// The 23 controls, each container before what it holds.
inline constexpr std::array<ControlLayout, 23> kForm1Layout{{
    // clang-format off
    {"S",        ControlKind::kFrame,         "",       {3480, 0, 5175, 5295},   "Select Mission File:",          0, 0},
    {"Command2", ControlKind::kCommandButton, "S",      {120, 240, 2295, 375},   "Open",                          0, 15, "Open"},
    {"Drive1",   ControlKind::kDriveList,     "S",      {2520, 240, 2535, 315},  "",                              0, 1,  "Drive"},
    {"File1",    ControlKind::kFileList,      "S",      {120, 600, 2295, 4575},  "",                              0, 2,  "Mission files"},
    {"Dir1",     ControlKind::kDirectoryList, "S",      {2520, 600, 2535, 4590}, "",                              0, 3,  "Folders"},
    {"Frame2",   ControlKind::kFrame,         "",       {120, 0, 3255, 975},     "Center Offset:",                0, 5},
    {"Frame3",   ControlKind::kFrame,         "Frame2", {120, 240, 1455, 615},   "X",                             0, 6},
    {"Text1",    ControlKind::kTextBox,       "Frame3", {120, 240, 1215, 285},   "0",                             6, 7,  "Center offset X"},
    {"Frame4",   ControlKind::kFrame,         "Frame2", {1680, 240, 1455, 615},  "Y",                             0, 8},
    {"Text3",    ControlKind::kTextBox,       "Frame4", {120, 240, 1215, 285},   "0",                             6, 9,  "Center offset Y"},
    {"Frame5",   ControlKind::kFrame,         "",       {120, 1080, 3255, 975},  "Range:",                        0, 10},
    {"Frame6",   ControlKind::kFrame,         "Frame5", {120, 240, 1455, 615},   "X",                             0, 11},
    {"Text4",    ControlKind::kTextBox,       "Frame6", {120, 240, 1215, 285},   "1024",                          6, 12, "Range X"},
    {"Frame7",   ControlKind::kFrame,         "Frame5", {1680, 240, 1455, 615},  "Y",                             0, 13},
    {"Text2",    ControlKind::kTextBox,       "Frame7", {120, 240, 1215, 285},   "1024",                          6, 14, "Range Y"},
    {"Frame1",   ControlKind::kFrame,         "",       {120, 2160, 3255, 615},  "Number of objects to add:",     0, 16},
    {"Text5",    ControlKind::kTextBox,       "Frame1", {120, 240, 3015, 285},   "20",                            3, 17, "Number of objects"},
    {"Frame8",   ControlKind::kFrame,         "",       {120, 2880, 3255, 615},  "Select Tree order:",            0, 18},
    {"Combo1",   ControlKind::kComboBox,      "Frame8", {120, 240, 3015, 315},   kThemePrompt,                    0, 19, "Tree theme"},
    {"Frame9",   ControlKind::kFrame,         "",       {120, 3600, 3255, 615},  "Advanced: Enter own object id:", 0, 20},
    {"Text6",    ControlKind::kTextBox,       "Frame9", {120, 240, 3015, 285},   "",                              6, 21, "Own object id"},
    {"Command1", ControlKind::kCommandButton, "",       {120, 4320, 3255, 975},  "Add Objects",                   0, 4,  "Add Objects", 13.5},
    {"Label1",   ControlKind::kLabel,         "",       {120, 5400, 8535, 375},  kStatusPleaseOpen,               0, 22, "Status",      12},
    // clang-format on
}};

// The index of the control in kForm1Layout, -1 when there is none of that name.
constexpr int IndexOfControl(std::string_view name) {
  for (std::size_t i = 0; i < kForm1Layout.size(); ++i) {
    if (kForm1Layout[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

// The control of that name; nullptr when there is none.
const ControlLayout* FindControlLayout(std::string_view name);

// True for the kinds that take the keyboard focus: all but frames and the label.
bool TakesFocus(ControlKind kind);

// The control's place from the top-left corner of the client area: its containers' places
// added up.
TwipsRect PlaceInClientArea(const ControlLayout& control);

// The controls that take the focus, in the order Tab visits them.
std::vector<const ControlLayout*> TabOrder();

}  // namespace bosquell
