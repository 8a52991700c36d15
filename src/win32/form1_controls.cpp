#include "win32/form1_controls.h"

namespace bosquell::win32 {

std::optional<Control> ControlOfId(int id) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(kControlCount)) return std::nullopt;
  return static_cast<Control>(index);
}

std::vector<const ControlLayout*> CreationOrder() {
  std::vector<const ControlLayout*> order;
  for (const ControlLayout& control : kForm1Layout) {
    if (control.kind == ControlKind::kFrame) order.push_back(&control);
  }
  for (const ControlLayout* control : TabOrder()) order.push_back(control);
  for (const ControlLayout& control : kForm1Layout) {
    if (control.kind == ControlKind::kLabel) order.push_back(&control);
  }
  return order;
}

}  // namespace bosquell::win32
