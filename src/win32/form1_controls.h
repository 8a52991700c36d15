#pragma once

#include <span>
#include <string_view>

namespace bosquell::win32 {

// The controls of Form1, by name. The values are the controls' ids; menu items follow.
enum class ControlId : int {
  S = 100,
  Frame2,
  Frame3,
  Frame4,
  Frame5,
  Frame6,
  Frame7,
  Frame1,
  Frame8,
  Frame9,
  Drive1,
  File1,
  Dir1,
  Command1,
  Text1,
  Text3,
  Text4,
  Text2,
  Command2,
  Text5,
  Combo1,
  Text6,
  Label1,
  None = 0,  // the window's client area, as a container
};

enum class MenuId : int { aboutas = 200, ext = 201, mapview = 202 };

enum class ControlKind {
  kFrame,
  kButton,
  kDriveList,
  kFileList,
  kDirectoryList,
  kTextBox,
  kComboBox,
  kLabel,
};

// One control: where it sits in its container, in twips, and what it starts with.
struct ControlLayout {
  ControlId id;
  ControlId container;  // None for the client area
  ControlKind kind;
  std::string_view text;
  int left, top, width, height;
  int maxLength = 0;     // text boxes: the most characters typed or pasted
  double pointSize = 8;  // "MS Sans Serif"
};

// Every control in creation order: the frames first, then the controls that take the focus in
// tab order, then the status line. Tab order follows creation order.
std::span<const ControlLayout> Form1Controls();

// The client area of Form1, in twips.
inline constexpr int kClientWidthTwips = 8730;
inline constexpr int kClientHeightTwips = 5865;

}  // namespace bosquell::win32
