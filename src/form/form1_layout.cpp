#include "form/form1_layout.h"

#include <algorithm>

namespace bosquell {

bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::kFrame && kind != ControlKind::kLabel;
}

TwipsRect PlaceInClientArea(const ControlLayout& control) {
  TwipsRect place = control.place;
  for (std::optional<Control> container = control.container; container;
       container = LayoutOf(*container).container) {
    place.left += LayoutOf(*container).place.left;
    place.top += LayoutOf(*container).place.top;
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
