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
LineStart IfKey(const char* line, const char* end, const char (&key)[N], bool lineFeeds,
                LineStart kind) {
  constexpr std::size_t kLength = N - 1;
  if (static_cast<std::size_t>(end - line) <= kLength) return LineStart::kUnknown;
  if (std::memcmp(line, key, kLength) != 0) return LineStart::kOther;
  const char after = line[kLength];
  const bool ends = after == ' ' || after == '\t' || after == '\r' || (lineFeeds && after == '\n');
  return ends ? kind : LineStart::kOther;
}

// What the line at `line` begins with; its first byte decides which key to compare. In a file
// of LF line ends an LF ends the key's line too.
LineStart KindOf(const char* line, const char* end, bool lineFeeds) {
  if (line == end) return LineStart::kUnknown;
  if (*line == 'b') return IfKey(line, end, "begin item", lineFeeds, LineStart::kBeginItem);
  if (*line == ' ') return IfKey(line, end, "  type_id", lineFeeds, LineStart::kTypeId);
  return LineStart::kOther;
}

}  // namespace

PassableLines ScanPassableLines(std::string_view bytes, LineBreaks breaks) {
  const bool lineFeeds = breaks == LineBreaks::kLineFeed;
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  if (breaks == LineBreaks::kUnknown || KindOf(begin, end, lineFeeds) != LineStart::kOther) {
    return {};
  }
  PassableLines upToLastBegin;  // the stretch up to the last "begin item" line passed
  bool beginSeen = false;
  PassableLines passed;
  const char* lineStart = begin;
  // Passes the line that ends at the break `at`; false where the stretch stops.
  const auto pass = [&](const char* at, std::size_t breakLength) {
    passed.beforeLastEmpty = passed.lastEmpty;
    passed.lastEmpty = at == lineStart;
    passed.lastStart = static_cast<std::size_t>(lineStart - begin);
    ++passed.lines;
    lineStart = at + breakLength;
    passed.length = static_cast<std::size_t>(lineStart - begin);
    switch (KindOf(lineStart, end, lineFeeds)) {
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
  };
  // A CR alone ends the stretch, and so does one whose next byte is not read yet.
  const auto crLf = [end](const char* cr) { return cr + 1 != end && cr[1] == '\n'; };
  if (!lineFeeds) {
    ForEachCarriageReturn(begin, end, [&](const char* cr) { return crLf(cr) && pass(cr, 2); });
  } else {
    ForEachLineBreak(begin, end, [&](const char* at) {
      if (at < lineStart) return true;  // the LF of a CR LF passed
      if (*at == '\n') return pass(at, 1);
      return crLf(at) && pass(at, 2);
    });
  }
  // A record begun before the stop may hold what stopped it, or go on past the bytes.
  return beginSeen ? upToLastBegin : passed;
}

}  // namespace bosquell
