#pragma once

#include <cstddef>
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

// Where a mission's lines end, decided by the first CR or LF in the file. A file whose first
// break is a CR ends its lines at CR LF or at a CR alone, and an LF without a CR before it is
// text of its line. A file whose first break is an LF was saved with LF line ends: there every
// LF ends a line too, while a CR LF stays one break and a CR alone still ends a line, so that
// the lines read are the lines written, each with CR LF. A file with no break at all is one
// line either way. Every reader of mission lines follows this rule, so all agree on the lines.
enum class LineBreaks {
  kUnknown,         // no CR or LF seen yet: the first line is still being read
  kCarriageReturn,  // CR LF or CR
  kLineFeed,        // CR LF, CR or LF
};

// The breaks of a file whose first CR or LF is `first`.
inline LineBreaks LineBreaksFrom(char first) {
  return first == '\n' ? LineBreaks::kLineFeed : LineBreaks::kCarriageReturn;
}

// How many bytes the break that starts at `at` takes, given the byte after it: a CR LF two,
// a CR or an LF alone one.
inline std::size_t BreakLength(const char* at) {
  return at[0] == '\r' && at[1] == '\n' ? 2 : 1;
}

// What stands for the last id line of a mission that has none.
inline constexpr std::string_view kDefaultIdLine = "  id 1";

}  // namespace bosquell
