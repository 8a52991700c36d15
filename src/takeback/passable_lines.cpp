#include "takeback/passable_lines.h"

#include <cstring>

#include "mission/line_break_scan.h"

namespace bosquell {
namespace {

enum class LineStart {
  kOther,
  kBeginItem,  // "begin item", alone or followed by a blank
  kTypeId,     // "  type_id", alone or followed by a blank
  kUnknown,    // too few bytes to tell
};

template <std::size_t N>
LineStart IfKey(const char* line, const char* end, const char (&key)[N], LineStart kind) {
  constexpr std::size_t kLength = N - 1;
  if (static_cast<std::size_t>(end - line) <= kLength) return LineStart::kUnknown;
  if (std::memcmp(line, key, kLength) != 0) return LineStart::kOther;
  const char after = line[kLength];
  return after == ' ' || after == '\t' || after == '\r' ? kind : LineStart::kOther;
}

// What the line at `line` begins with; its first byte decides which key to compare.
LineStart KindOf(const char* line, const char* end) {
  if (line == end) return LineStart::kUnknown;
  if (*line == 'b') return IfKey(line, end, "begin item", LineStart::kBeginItem);
  if (*line == ' ') return IfKey(line, end, "  type_id", LineStart::kTypeId);
  return LineStart::kOther;
}

}  // namespace

PassableLines ScanPassableLines(std::string_view bytes) {
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  if (KindOf(begin, end) != LineStart::kOther) return {};
  PassableLines upToLastBegin;  // the stretch up to the last "begin item" line passed
  bool beginSeen = false;
  PassableLines passed;
  ForEachCarriageReturn(begin, end, [&](const char* cr) {
    // A CR alone ends the stretch, and so does one whose next byte is not read yet.
    if (cr + 1 == end || cr[1] != '\n') return false;
    const char* const next = cr + 2;
    ++passed.lines;
    passed.length = static_cast<std::size_t>(next - begin);
    switch (KindOf(next, end)) {
      case LineStart::kOther:
        return true;
      case LineStart::kBeginItem:
        upToLastBegin = passed;
        beginSeen = true;
        return true;
      case LineStart::kTypeId:
      case LineStart::kUnknown:
        return false;
    }
    return true;
  });
  // A record begun before the stop may hold what stopped it, or go on past the bytes.
  return beginSeen ? upToLastBegin : passed;
}

}  // namespace bosquell
