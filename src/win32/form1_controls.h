#pragma once

#include <optional>
#include <vector>

#include "form/form1_layout.h"

namespace bosquell::win32 {

// A control's id: 100 plus its index in the shared layout table, which is its Control value.
inline constexpr int kFirstControlId = 100;

constexpr int IdOf(Control control) {
  return kFirstControlId + static_cast<int>(IndexOf(control));
}
constexpr int IdOf(const ControlLayout& layout) {
  return IdOf(layout.control);
}

// The control an id names; nothing for an id that is no control's (0, or a menu item's).
std::optional<Control> ControlOfId(int id);

// switchwindow is F6, which has no menu item: over to the open map, and there back.
enum class MenuId : int { aboutas = 200, ext = 201, mapview = 202, switchwindow = 203 };

// The order the window creates its controls in: the frames first, then the controls that take
// the focus in tab order (Tab follows creation order), then the status line.
std::vector<const ControlLayout*> CreationOrder();

}  // namespace bosquell::win32
