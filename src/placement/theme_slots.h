#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace bosquell {

// The candidate type ids of one run. Slots hold the ids as text: a theme's numbers in plain
// decimal, or the user's own id exactly as typed. An empty text is an empty slot.
struct ThemeSlots {
  static constexpr int kSlotCount = 20;
  std::array<std::string, kSlotCount> entries;
};

// Slot 0 takes the own id text unchanged; the other slots stay empty.
void FillFromOwnId(ThemeSlots& slots, std::string_view ownIdText);

// The ids of the theme named exactly by the text go into slots 0, 1, 2, ...; an unknown name
// leaves every slot empty.
void FillFromTheme(ThemeSlots& slots, std::string_view themeText);

// The highest slot a pick may return: the number of slots whose value is greater than zero,
// minus one (-1 when none is).
int TopSlot(const ThemeSlots& slots);

// The type text of slot RandomInt(0, topSlot, r); slot 0 when topSlot is -1.
const std::string& Pick(const ThemeSlots& slots, int topSlot, float r);

// Filled slots and their top slot, of which every pick gives a type text: slot 0 is never empty.
// (The other slots a pick can reach hold a theme's ids, all of them filled.)
class ObjectTypes {
 public:
  // Nothing when slot 0 is empty: every object would get an empty type, which no mission
  // editor loads.
  static std::optional<ObjectTypes> FromSlots(ThemeSlots slots);

  const ThemeSlots& Slots() const { return slots_; }
  int TopSlot() const { return topSlot_; }

 private:
  ObjectTypes(ThemeSlots slots, int topSlot) : slots_(std::move(slots)), topSlot_(topSlot) {}

  ThemeSlots slots_;
  int topSlot_ = -1;
};

}  // namespace bosquell
