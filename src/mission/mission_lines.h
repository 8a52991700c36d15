#pragma once

#include <string_view>

namespace bosquell {

// Line prefixes the rewrite recognises; leading blanks count and case matters.
inline constexpr std::string_view kIdLinePrefix = "  id";
inline constexpr std::string_view kCountLinePrefix = "  num_items";
// What a line is to the rewrite. The id test comes first; no line can be both, as the two
// prefixes differ in their third character.
enum class LineKind { kOther, kId, kCount };

inline LineKind KindOfLine(std::string_view line) {
  if (line.starts_with(kIdLinePrefix)) return LineKind::kId;
  if (line.starts_with(kCountLinePrefix)) return LineKind::kCount;
  return LineKind::kOther;
}

// What stands for the last id line of a mission that has none.
inline constexpr std::string_view kDefaultIdLine = "  id 1";

}  // namespace bosquell
