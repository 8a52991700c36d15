#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace bosquell {

// A named list of object type ids. An id listed twice is drawn twice as often.
struct TreeTheme {
  std::string_view name;
  std::span<const std::int16_t> typeIds;
};

// The built-in themes, in the order a run tries their names.
std::span<const TreeTheme> TreeThemes();

// The same eight names in the order the window lists them.
std::span<const std::string_view> ThemeListOrder();

// The theme whose name equals the text exactly, or nullptr.
const TreeTheme* FindTreeTheme(std::string_view name);

}  // namespace bosquell
