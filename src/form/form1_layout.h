#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "form/form_inputs.h"

namespace bosquell {

// The controls of Form1, by what each is for. A control's value is its index in kForm1Layout,
// which holds the rest: the name each window gives it, its kind, place, caption and so on.
enum class Control : std::size_t {
  kMissionFrame,  // holds the file lists and "Open"
  kOpen,          // "Open": opens the selected mission file
  kDriveList,     // drop-down list of drives
  kFileList,      // the mission files of the folder
  kFolderList,    // the folder, its ancestors and its subfolders
  kCenterFrame,
  kCenterXFrame,
  kCenterX,  // center offset X, user units
  kCenterYFrame,
  kCenterY,  // center offset Y, user units
  kRangeFrame,
  kRangeXFrame,
  kRangeX,  // half-width of the scatter area, user units
  kRangeYFrame,
  kRangeY,  // half-height of the scatter area, user units
  kCountFrame,
  kCount,  // number of objects to add
  kThemeFrame,
  kTheme,  // tree theme: a text field with a drop-down list
  kOwnIdFrame,
  kOwnId,       // own object type id
  kAddObjects,  // "Add Objects": the run
  kStatus,      // the status line
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::kStatus) + 1;

constexpr std::size_t IndexOf(Control control) {
  return static_cast<std::size_t>(control);
}

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

// The container of a control that sits in the window's client area, in no frame.
inline constexpr std::optional<Control> kClientArea = std::nullopt;

// One control of Form1, as both windows build it.
struct ControlLayout {
  Control control;        // what the control is for; also its index in kForm1Layout
  std::string_view name;  // the control's name, which each window gives it too
  ControlKind kind;
  std::optional<Control> container;  // the frame it sits in, or kClientArea
  TwipsRect place;                   // from the container's outer top-left corner
  std::string_view caption;          // caption or initial text; "" for the three lists
  int textLimit = 0;                 // most characters a text box takes, typed or pasted; 0: none
  int tabIndex = 0;                  // place among all 23; frames and the label take no focus
  std::string_view accessibleName = {};  // what a screen reader announces; "" for frames
  double pointSize = 8;                  // "MS Sans Serif", regular weight
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidthTwips = 8730;
inline constexpr int kClientHeightTwips = 5865;

// The status line's texts: at start, once a file is open, and after a run has saved its output.
inline constexpr char kStatusPleaseOpen[] = "Please Open a File!";
inline constexpr char kStatusFileOpen[] = "File is open, now please set options!";
inline constexpr char kStatusSaved[] = "File has been saved with the ending _rnd.mis!";

// The 23 controls in the order of Control, each container before what it holds.
// clang-format off
inline constexpr std::array<ControlLayout, kControlCount> kForm1Layout = [] {
  using enum Control;
  return std::array<ControlLayout, kControlCount>{{
    {kMissionFrame, "S",        ControlKind::kFrame,         kClientArea,   {3480, 0, 5175, 5295},   "Select Mission File:",          0, 0},
    {kOpen,         "Command2", ControlKind::kCommandButton, kMissionFrame, {120, 240, 2295, 375},   "Open",                          0, 15, "Open"},
    {kDriveList,    "Drive1",   ControlKind::kDriveList,     kMissionFrame, {2520, 240, 2535, 315},  "",                              0, 1,  "Drive"},
    {kFileList,     "File1",    ControlKind::kFileList,      kMissionFrame, {120, 600, 2295, 4575},  "",                              0, 2,  "Mission files"},
    {kFolderList,   "Dir1",     ControlKind::kDirectoryList, kMissionFrame, {2520, 600, 2535, 4590}, "",                              0, 3,  "Folders"},
    {kCenterFrame,  "Frame2",   ControlKind::kFrame,         kClientArea,   {120, 0, 3255, 975},     "Center Offset:",                0, 5},
    {kCenterXFrame, "Frame3",   ControlKind::kFrame,         kCenterFrame,  {120, 240, 1455, 615},   "X",                             0, 6},
    {kCenterX,      "Text1",    ControlKind::kTextBox,       kCenterXFrame, {120, 240, 1215, 285},   "0",                             6, 7,  "Center offset X"},
    {kCenterYFrame, "Frame4",   ControlKind::kFrame,         kCenterFrame,  {1680, 240, 1455, 615},  "Y",                             0, 8},
    {kCenterY,      "Text3",    ControlKind::kTextBox,       kCenterYFrame, {120, 240, 1215, 285},   "0",                             6, 9,  "Center offset Y"},
    {kRangeFrame,   "Frame5",   ControlKind::kFrame,         kClientArea,   {120, 1080, 3255, 975},  "Range:",                        0, 10},
    {kRangeXFrame,  "Frame6",   ControlKind::kFrame,         kRangeFrame,   {120, 240, 1455, 615},   "X",                             0, 11},
    {kRangeX,       "Text4",    ControlKind::kTextBox,       kRangeXFrame,  {120, 240, 1215, 285},   "1024",                          6, 12, "Range X"},
    {kRangeYFrame,  "Frame7",   ControlKind::kFrame,         kRangeFrame,   {1680, 240, 1455, 615},  "Y",                             0, 13},
    {kRangeY,       "Text2",    ControlKind::kTextBox,       kRangeYFrame,  {120, 240, 1215, 285},   "1024",                          6, 14, "Range Y"},
    {kCountFrame,   "Frame1",   ControlKind::kFrame,         kClientArea,   {120, 2160, 3255, 615},  "Number of objects to add:",     0, 16},
    {kCount,        "Text5",    ControlKind::kTextBox,       kCountFrame,   {120, 240, 3015, 285},   "20",                            3, 17, "Number of objects"},
    {kThemeFrame,   "Frame8",   ControlKind::kFrame,         kClientArea,   {120, 2880, 3255, 615},  "Select Tree order:",            0, 18},
    {kTheme,        "Combo1",   ControlKind::kComboBox,      kThemeFrame,   {120, 240, 3015, 315},   kThemePrompt,                    0, 19, "Tree theme"},
    {kOwnIdFrame,   "Frame9",   ControlKind::kFrame,         kClientArea,   {120, 3600, 3255, 615},  "Advanced: Enter own object id:", 0, 20},
    {kOwnId,        "Text6",    ControlKind::kTextBox,       kOwnIdFrame,   {120, 240, 3015, 285},   "",                              6, 21, "Own object id"},
    {kAddObjects,   "Command1", ControlKind::kCommandButton, kClientArea,   {120, 4320, 3255, 975},  "Add Objects",                   0, 4,  "Add Objects", 13.5},
    {kStatus,       "Label1",   ControlKind::kLabel,         kClientArea,   {120, 5400, 8535, 375},  kStatusPleaseOpen,               0, 22, "Status",      12},
  }};
}();
// clang-format on

// Every entry sits at the index of the control it describes, and every container is a frame
// that comes before what it holds, so that a window can build the table in its order.
constexpr bool LayoutIsInControlOrder() {
  for (std::size_t i = 0; i < kForm1Layout.size(); ++i) {
    const ControlLayout& entry = kForm1Layout[i];
    if (IndexOf(entry.control) != i) return false;
    if (!entry.container) continue;
    if (IndexOf(*entry.container) >= i) return false;
    if (kForm1Layout[IndexOf(*entry.container)].kind != ControlKind::kFrame) return false;
  }
  return true;
}
static_assert(LayoutIsInControlOrder(), "kForm1Layout must follow the order of Control");

// The table's entry for the control.
constexpr const ControlLayout& LayoutOf(Control control) {
  return kForm1Layout[IndexOf(control)];
}

// The text a box or the status line shows when the window opens.
constexpr std::string_view InitialText(Control control) {
  return LayoutOf(control).caption;
}

// True for the kinds that take the keyboard focus: all but frames and the label.
bool TakesFocus(ControlKind kind);

// The control's place from the top-left corner of the client area: its containers' places
// added up.
TwipsRect PlaceInClientArea(const ControlLayout& control);

// The controls that take the focus, in the order Tab visits them.
std::vector<const ControlLayout*> TabOrder();

}  // namespace bosquell
