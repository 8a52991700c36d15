#include "mission/item_positions.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

#include "common/number_text.h"
#include "mission/line_reader.h"

namespace bosquell {
namespace {

constexpr std::string_view kItemBegin = "begin item";
constexpr std::string_view kItemEnd = "end item";
constexpr std::string_view kPositionKey = "  position";
// No more of a line is looked at, however long it is.
constexpr std::size_t kHeadLength = 64 * 1024;
// Whole numbers of up to this many digits are exact in a double.
constexpr std::ptrdiff_t kExactDigits = 15;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// True when the line is the key itself or the key followed by a blank.
bool StartsWithKey(std::string_view line, std::string_view key) {
  return line.size() >= key.size() && std::memcmp(line.data(), key.data(), key.size()) == 0 &&
         (line.size() == key.size() || IsBlank(line[key.size()]));
}

// The value of a word that is a number as the window's boxes take one (TextIsNumeric), when it
// is finite. Like TextValue, a value too small for a double reads as the nearest one, a
// denormal or zero; a value too large for one is no position.
std::optional<double> WordValue(std::string_view word) {
  if (!TextIsNumeric(word)) return std::nullopt;
  // from_chars takes no plus sign, and reports an underflow to zero as out of range, as it does
  // an overflow; TextValue tells the two apart for that rare word.
  const std::string_view digits = word.front() == '+' ? word.substr(1) : word;
  double value = 0;
  const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (read.ec == std::errc::result_out_of_range) value = TextValue(word);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

// Reads the next blank-separated number from `text`, advancing past it. A sign and up to
// fifteen digits, as positions nearly always are, are read on the way (exact, the value that
// from_chars gives); any other word goes to WordValue.
std::optional<double> NextNumber(std::string_view& text) {
  const char* at = text.data();
  const char* const end = at + text.size();
  while (at != end && IsBlank(*at)) ++at;
  const char* const word = at;
  const bool negative = at != end && *at == '-';
  const char* const digits = at + (at != end && (negative || *at == '+') ? 1 : 0);
  std::int64_t whole = 0;
  for (at = digits; at != end && at - digits < kExactDigits; ++at) {
    const auto digit = static_cast<unsigned char>(*at - '0');
    if (digit > 9) break;
    whole = whole * 10 + digit;
  }
  if (at != digits && (at == end || IsBlank(*at))) {
    text = std::string_view(at, static_cast<std::size_t>(end - at));
    const auto magnitude = static_cast<double>(whole);
    return negative ? -magnitude : magnitude;
  }

  while (at != end && !IsBlank(*at)) ++at;
  text = std::string_view(at, static_cast<std::size_t>(end - at));
  return WordValue(std::string_view(word, static_cast<std::size_t>(at - word)));
}

// Follows the records line by line: only position lines inside an item record count.
class PositionLines {
 public:
  explicit PositionLines(const std::function<void(MapPoint)>& found) : found_(found) {}

  // `cut` says that the line went on past what the reader kept of it.
  void Take(std::string_view line, bool cut) {
    if (line.size() > kHeadLength) {
      line = line.substr(0, kHeadLength);
      cut = true;
    }
    if (line.empty()) return;
    switch (line.front()) {
      case 'b':
        if (StartsWithKey(line, kItemBegin)) insideItem_ = true;
        break;
      case 'e':
        if (StartsWithKey(line, kItemEnd)) insideItem_ = false;
        break;
      case ' ':
        if (insideItem_ && StartsWithKey(line, kPositionKey)) TakePosition(line, cut);
        break;
      default:
        break;
    }
  }

 private:
  void TakePosition(std::string_view line, bool cut) {
    std::string_view values = line.substr(kPositionKey.size());
    const std::optional<double> x = NextNumber(values);
    const std::optional<double> y = NextNumber(values);
    // On a cut line the numbers count only if a blank shows that they ended before the cut.
    const bool whole = !cut || !values.empty();
    if (x && y && whole) found_({*x, *y});
  }

  const std::function<void(MapPoint)>& found_;
  bool insideItem_ = false;
};

}  // namespace

bool ForEachItemPosition(std::streambuf& mission, const std::function<void(MapPoint)>& found) {
  LineReader reader(mission, 256 * 1024, kHeadLength);
  PositionLines lines(found);
  std::string_view line;
  // Most lines are taken straight from the reader's buffer, many at a time; the line that
  // crosses the end of the buffer comes through the reader, which reads on.
  for (;;) {
    reader.TakeBuffered([&lines](std::string_view whole) { lines.Take(whole, false); });
    if (!reader.Next(line)) break;
    lines.Take(line, reader.Cut());
  }
  return !reader.Failed();
}

std::optional<std::vector<MapPoint>> ReadItemPositions(std::streambuf& mission) {
  std::vector<MapPoint> points;
  if (!ForEachItemPosition(mission, [&points](MapPoint point) { points.push_back(point); })) {
    return std::nullopt;
  }
  return points;
}

}  // namespace bosquell
