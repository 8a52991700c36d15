#pragma once

#include <string_view>

namespace bosquell {

// Line prefixes the rewrite recognises; leading blanks count and case matters.
inline constexpr std::string_view kIdLinePrefix = "  id";
inline constexpr std::string_view kCountLinePrefix = "  num_items";
// What stands for the last id line of a mission that has none.
inline constexpr std::string_view kDefaultIdLine = "  id 1";

}  // namespace bosquell
