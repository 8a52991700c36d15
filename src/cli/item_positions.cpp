#include "cli/item_positions.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "mission/line_reader.h"

namespace bosquell {
namespace {

constexpr std::string_view kItemBegin = "begin item";
constexpr std::string_view kItemEnd = "end item";
constexpr std::string_view kPositionKey = "  position";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// True when the line is the key itself or the key followed by a blank.
bool StartsWithKey(std::string_view line, std::string_view key) {
  return line.substr(0, key.size()) == key &&
         (line.size() == key.size() || IsBlank(line[key.size()]));
}

// Reads the next blank-separated number from `text`, advancing past it.
std::optional<double> NextNumber(std::string_view& text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  std::size_t length = 0;
  while (length < text.size() && !IsBlank(text[length])) ++length;
  const std::string_view word = text.substr(0, length);
  text.remove_prefix(length);

  double value = 0;
  auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || error != std::errc() || stop != word.data() + word.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::vector<MapPoint>> ReadItemPositions(std::streambuf& mission) {
  LineReader reader(mission);
  std::vector<MapPoint> points;
  bool insideItem = false;
  std::string_view line;
  while (reader.Next(line)) {
    if (StartsWithKey(line, kItemBegin)) {
      insideItem = true;
    } else if (StartsWithKey(line, kItemEnd)) {
      insideItem = false;
    } else if (insideItem && StartsWithKey(line, kPositionKey)) {
      std::string_view values = line.substr(kPositionKey.size());
      const std::optional<double> x = NextNumber(values);
      const std::optional<double> y = NextNumber(values);
      // On a cut line the numbers count only if a blank shows that they ended before the cut.
      const bool whole = !reader.Cut() || !values.empty();
      if (x && y && whole) points.push_back({*x, *y});
    }
  }
  if (reader.Failed()) return std::nullopt;
  return points;
}

}  // namespace bosquell
