#include "mission/item_positions.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>
#include <system_error>

#include "common/number_text.h"
#include "mission/line_splitter.h"

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

// The eight bytes from `at`, those at or past `end` read as blanks. `at - 8` must still be
// inside the text, so that a short tail is read as the end of the last eight bytes.
std::uint64_t EightBytes(const char* at, const char* end) {
  constexpr std::uint64_t kBlanks = 0x2020202020202020u;
  std::uint64_t bytes = kBlanks;
  const std::ptrdiff_t count = end - at;
  if (count >= 8) {
    std::memcpy(&bytes, at, 8);
  } else if (count > 0) {
    std::memcpy(&bytes, end - 8, 8);
    const int tail = static_cast<int>(8 * count);
    bytes = bytes >> (64 - tail) | kBlanks << tail;
  }
  return bytes;
}

// How many digits, one to seven, stand at the start of the eight bytes with a blank after them;
// 0 when they are not such a number.
int LeadingDigitCount(std::uint64_t bytes) {
  if constexpr (std::endian::native != std::endian::little) return 0;
  // A byte above '9' sets its high bit in the sum, one below '0' in the difference; a carry or
  // a borrow only ever runs from a byte that is no digit into the bytes after it.
  const std::uint64_t notDigits =
      ((bytes + 0x4646464646464646u) | (bytes - 0x3030303030303030u)) & 0x8080808080808080u;
  const int count = std::countr_zero(notDigits) / 8;
  if (count == 0 || count == 8) return 0;
  return IsBlank(static_cast<char>(bytes >> (8 * count))) ? count : 0;
}

// The number the first `count` bytes write, 1 to 7 digits: moved to the top of the word, as if
// led by zeros, then added up in pairs, fours and eights.
std::int64_t DigitsValue(std::uint64_t bytes, int count) {
  std::uint64_t digits = (bytes - 0x3030303030303030u) << (64 - 8 * count);
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFu;
  digits = digits * 10000 + (digits >> 32);
  return static_cast<std::int64_t>(digits & 0xFFFFFFFFu);
}

// Reads the next blank-separated number from `text` into `value`, advancing past it; false when
// the word is no finite number. At least eight bytes of the line stand before `text`. A sign and up
// to seven digits, as positions nearly always are, are read eight bytes at a time, up to fifteen
// digits one at a time (exact, the value that from_chars gives); any other word goes to WordValue.
bool NextNumber(std::string_view& text, double& value) {
  const char* at = text.data();
  const char* const end = at + text.size();
  while (at != end && IsBlank(*at)) ++at;
  const char* const word = at;
  const bool negative = at != end && *at == '-';
  const char* const digits = at + (at != end && (negative || *at == '+') ? 1 : 0);
  const std::uint64_t eight = EightBytes(digits, end);
  if (const int count = LeadingDigitCount(eight); count > 0) {
    at = digits + count;
    text = std::string_view(at, static_cast<std::size_t>(end - at));
    const auto magnitude = static_cast<double>(DigitsValue(eight, count));
    value = negative ? -magnitude : magnitude;
    return true;
  }
  std::int64_t whole = 0;
  for (at = digits; at != end && at - digits < kExactDigits; ++at) {
    const auto digit = static_cast<unsigned char>(*at - '0');
    if (digit > 9) break;
    whole = whole * 10 + digit;
  }
  if (at != digits && (at == end || IsBlank(*at))) {
    text = std::string_view(at, static_cast<std::size_t>(end - at));
    const auto magnitude = static_cast<double>(whole);
    value = negative ? -magnitude : magnitude;
    return true;
  }

  while (at != end && !IsBlank(*at)) ++at;
  text = std::string_view(at, static_cast<std::size_t>(end - at));
  const std::optional<double> read =
      WordValue(std::string_view(word, static_cast<std::size_t>(at - word)));
  value = read.value_or(0);
  return read.has_value();
}

}  // namespace

// Follows the records line by line: only position lines inside an item record count.
class ItemPositionScanner::PositionLines {
 public:
  explicit PositionLines(std::function<void(MapPoint)> found) : found_(std::move(found)) {}

  // `cut` says that the line went on past the head handed over.
  void Take(std::string_view line, bool cut) {
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
    double x = 0;
    double y = 0;
    const bool hasX = NextNumber(values, x);
    const bool hasY = NextNumber(values, y);
    // On a cut line the numbers count only if a blank shows that they ended before the cut.
    const bool whole = !cut || !values.empty();
    if (hasX && hasY && whole) found_({x, y});
  }

  std::function<void(MapPoint)> found_;
  bool insideItem_ = false;
};

ItemPositionScanner::ItemPositionScanner(std::function<void(MapPoint)> found)
    : splitter_(std::make_unique<LineSplitter>(kHeadLength)),
      lines_(std::make_unique<PositionLines>(std::move(found))) {}

ItemPositionScanner::~ItemPositionScanner() = default;

void ItemPositionScanner::Feed(std::string_view bytes) {
  splitter_->Feed(bytes, [this](std::string_view line, bool cut) { lines_->Take(line, cut); });
}

void ItemPositionScanner::Finish() {
  splitter_->Finish([this](std::string_view line, bool cut) { lines_->Take(line, cut); });
}

bool ForEachItemPosition(std::streambuf& mission, const std::function<void(MapPoint)>& found) {
  constexpr std::size_t kChunk = 256 * 1024;
  const auto chunk = std::make_unique_for_overwrite<char[]>(kChunk);
  ItemPositionScanner scanner(found);
  for (;;) {
    std::streamsize got = 0;
    try {
      got = mission.sgetn(chunk.get(), static_cast<std::streamsize>(kChunk));
    } catch (const std::exception&) {
      return false;  // a file buffer reports a failed read by throwing or by a short count
    }
    if (got <= 0) break;
    scanner.Feed(std::string_view(chunk.get(), static_cast<std::size_t>(got)));
  }
  scanner.Finish();
  return true;
}
std::optional<std::vector<MapPoint>> ReadItemPositions(std::streambuf& mission) {
  std::vector<MapPoint> points;
  if (!ForEachItemPosition(mission, [&points](MapPoint point) { points.push_back(point); })) {
    return std::nullopt;
  }
  return points;
}

}  // namespace bosquell
