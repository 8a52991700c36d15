#include "win32/form1_controls.h"

namespace bosquell::win32 {

ControlId IdOf(const ControlLayout& control) {
  return static_cast<ControlId>(100 + (&control - kForm1Layout.data()));
}

const ControlLayout* LayoutOf(ControlId id) {
  const int index = static_cast<int>(id) - 100;
  if (index < 0 || index >= static_cast<int>(kForm1Layout.size())) return nullptr;
  return &kForm1Layout[static_cast<std::size_t>(index)];
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
