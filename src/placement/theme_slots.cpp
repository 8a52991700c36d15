#include "placement/theme_slots.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"
#include "placement/random_source.h"
#include "placement/tree_themes.h"

namespace bosquell {

void FillFromOwnId(ThemeSlots& slots, std::string_view ownIdText) {
  slots.entries[0].assign(ownIdText);
}

void FillFromTheme(ThemeSlots& slots, std::string_view themeText) {
  const TreeTheme* theme = FindTreeTheme(themeText);
  if (theme == nullptr) return;
  std::size_t slot = 0;
  for (const std::int16_t id : theme->typeIds) {
    if (slot == slots.entries.size()) break;
    slots.entries[slot++] = std::to_string(id);
  }
}

int TopSlot(const ThemeSlots& slots) {
  // A theme id compares by its value and an own id by the number it spells; both are stored as
  // text, and an empty slot reads as zero.
  const auto counted = std::count_if(slots.entries.begin(), slots.entries.end(),
                                     [](const std::string& slot) { return TextValue(slot) > 0; });
  return static_cast<int>(counted) - 1;
}

const std::string& Pick(const ThemeSlots& slots, int topSlot, float r) {
  const double drawn = RandomInt(0, topSlot, r);
  const auto slot = static_cast<std::size_t>(std::clamp(drawn, 0.0, ThemeSlots::kSlotCount - 1.0));
  return slots.entries[slot];
}

std::optional<ObjectTypes> ObjectTypes::FromSlots(ThemeSlots slots) {
  if (slots.entries[0].empty()) return std::nullopt;
  const int topSlot = bosquell::TopSlot(slots);
  return ObjectTypes(std::move(slots), topSlot);
}

}  // namespace bosquell
