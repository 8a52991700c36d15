#include "window_logic/form1_layout.h"

#include <algorithm>

namespace bosquell {

const ControlLayout* FindControlLayout(std::string_view name) {
  const int index = IndexOfControl(name);
  return index < 0 ? nullptr : &kForm1Layout[static_cast<std::size_t>(index)];
}

bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::kFrame && kind != ControlKind::kLabel;
}

TwipsRect PlaceInClientArea(const ControlLayout& control) {
  TwipsRect place = control.place;
  for (const ControlLayout* container = FindControlLayout(control.container); container != nullptr;
       container = FindControlLayout(container->container)) {
    place.left += container->place.left;
    place.top += container->place.top;
  }
  return place;
}

std::vector<const ControlLayout*> TabOrder() {
  std::vector<const ControlLayout*> order;
  for (const ControlLayout& control : kForm1Layout) {
    if (TakesFocus(control.kind)) order.push_back(&control);
  }
  std::sort(order.begin(), order.end(), [](const ControlLayout* a, const ControlLayout* b) {
    return a->tabIndex < b->tabIndex;
  });
  return order;
}

}  // namespace bosquell
