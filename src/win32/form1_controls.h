#pragma once

#include <stdexcept>
#include <string_view>
#include <vector>

#include "window_logic/form1_layout.h"

namespace bosquell::win32 {

// A control's id: 100 plus its place in the shared layout table. Evaluated while compiling, so
// a name that is not in the table does not build.
consteval int IdOfControl(std::string_view name) {
  const int index = IndexOfControl(name);
  if (index < 0) throw std::invalid_argument("no control of that name in Form1's layout");
  return 100 + index;
}

// The controls of Form1, by name, with their ids.
enum class ControlId : int {
  None = 0,  // the window's client area, as a container
  S = IdOfControl("S"),
  Command2 = IdOfControl("Command2"),
  Drive1 = IdOfControl("Drive1"),
  File1 = IdOfControl("File1"),
  Dir1 = IdOfControl("Dir1"),
  Frame2 = IdOfControl("Frame2"),
  Frame3 = IdOfControl("Frame3"),
  Text1 = IdOfControl("Text1"),
  Frame4 = IdOfControl("Frame4"),
  Text3 = IdOfControl("Text3"),
  Frame5 = IdOfControl("Frame5"),
  Frame6 = IdOfControl("Frame6"),
  Text4 = IdOfControl("Text4"),
  Frame7 = IdOfControl("Frame7"),
  Text2 = IdOfControl("Text2"),
  Frame1 = IdOfControl("Frame1"),
  Text5 = IdOfControl("Text5"),
  Frame8 = IdOfControl("Frame8"),
  Combo1 = IdOfControl("Combo1"),
  Frame9 = IdOfControl("Frame9"),
  Text6 = IdOfControl("Text6"),
  Command1 = IdOfControl("Command1"),
  Label1 = IdOfControl("Label1"),
};

enum class MenuId : int { aboutas = 200, ext = 201 };

// The id of a control of the table, and the table's entry for an id (nullptr for None or an id
// that is no control's).
ControlId IdOf(const ControlLayout& control);
const ControlLayout* LayoutOf(ControlId id);

// The order the window creates its controls in: the frames first, then the controls that take
// the focus in tab order (Tab follows creation order), then the status line.
std::vector<const ControlLayout*> CreationOrder();

}  // namespace bosquell::win32
