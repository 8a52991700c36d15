#include "takeback/run_object_index.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <functional>
#include <system_error>
#include <utility>

#include "common/number_text.h"

namespace bosquell {
namespace {

// The longest key of a record line the index compares ("  position ").
constexpr std::size_t kLongestKey = 11;

std::uint64_t Mix(std::uint64_t value) {
  value ^= value >> 30;
  value *= 0xbf58476d1ce4e5b9u;
  value ^= value >> 27;
  value *= 0x94d049bb133111ebu;
  return value ^ (value >> 31);
}

std::uint64_t Combine(std::uint64_t seed, std::uint64_t value) {
  return Mix(seed ^ (value + 0x9e3779b97f4a7c15u + (seed << 6) + (seed >> 2)));
}

// FNV-1a: the texts are short, and their hash is mixed further when combined.
std::uint64_t HashText(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  return hash;
}

// Equal values hash alike: -0 as 0.
std::uint64_t HashValue(double value) {
  return value == 0 ? 0 : std::bit_cast<std::uint64_t>(value);
}

std::uint64_t HashPosition(double x, double y) {
  return Combine(HashValue(x), HashValue(y));
}

std::uint64_t HashTypeFacingCell(std::uint64_t typeHash, double facing, double cellX,
                                 double cellY) {
  return Combine(Combine(Combine(typeHash, HashValue(facing)), HashValue(cellX)), HashValue(cellY));
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Whole numbers of up to this many digits are exact in a double.
constexpr std::size_t kExactDigits = 15;

// The value of a word that is a finite number, a leading plus allowed. Whole numbers, as
// positions and facings nearly always are, are read on the way; others go to from_chars.
std::optional<double> WordValue(std::string_view word) {
  if (word.starts_with('+')) word.remove_prefix(1);
  const bool negative = word.starts_with('-');
  const std::string_view digits = word.substr(negative ? 1 : 0);
  if (!digits.empty() && digits.size() <= kExactDigits) {
    std::int64_t whole = 0;
    std::size_t i = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
      whole = whole * 10 + (digits[i] - '0');
    }
    if (i == digits.size()) {
      const auto magnitude = static_cast<double>(whole);
      return negative ? -magnitude : magnitude;
    }
  }
  double value = 0;
  const auto read = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || read.ec != std::errc() || read.ptr != word.data() + word.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// Reads the first `count` blank-separated words of `text` as finite numbers. False when there
// are fewer, or one is no such number.
bool ReadNumbers(std::string_view text, std::size_t count, double* values) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < count; ++i) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    std::size_t end = at;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    const std::optional<double> value = WordValue(text.substr(at, end - at));
    if (!value) return false;
    values[i] = *value;
    at = end;
  }
  return true;
}

// Up to three cells, lowest first, that [low, high] reaches, given the cells of its ends.
int CellsBetween(double lowCell, double highCell, double cells[3]) {
  int count = 0;
  cells[count++] = lowCell;
  if (lowCell + 1 < highCell) cells[count++] = lowCell + 1;
  if (highCell != lowCell) cells[count++] = highCell;
  return count;
}

}  // namespace

void RunObjectIndex::HashedGroups::Reserve(std::size_t count) {
  heads_.assign(std::bit_ceil(count * 2 + 2), kNone);
  entries_.reserve(count);
  filter_.assign(std::bit_ceil(count / 4 + 1), 0);
}

std::size_t RunObjectIndex::HashedGroups::FilterBit(std::uint64_t hash) const {
  return (Mix(hash) >> 32) & (filter_.size() * 64 - 1);
}

std::size_t RunObjectIndex::HashedGroups::SlotOf(std::uint64_t hash) const {
  return Mix(hash) & (heads_.size() - 1);
}

void RunObjectIndex::HashedGroups::Add(std::uint64_t hash, std::uint32_t group) {
  const std::size_t slot = SlotOf(hash);
  entries_.push_back({hash, group, heads_[slot]});
  heads_[slot] = static_cast<std::uint32_t>(entries_.size() - 1);
  const std::size_t bit = FilterBit(hash);
  filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
}

std::optional<MapPoint> PositionValue(std::string_view text) {
  double xy[2] = {0, 0};
  if (!ReadNumbers(text, 2, xy)) return std::nullopt;
  return MapPoint{xy[0], xy[1]};
}

RunObjectIndex::RunObjectIndex(std::span<const DrawnObject> objects, double movedWithin)
    : movedWithin_(std::isfinite(movedWithin) && movedWithin > 0 ? movedWithin : 0) {
  // Objects alike in type, position and facing form one group: the run writes the same texts
  // for them, as the number texts follow from the values.
  HashedGroups byValues;
  byValues.Reserve(objects.size());
  std::vector<std::uint32_t> firstMembers;
  std::vector<std::uint32_t> groupOfObject(objects.size());
  for (std::uint32_t object = 0; object < objects.size(); ++object) {
    const DrawnObject& drawn = objects[object];
    const std::uint64_t hash = Combine(
        Combine(HashText(drawn.typeText), HashPosition(drawn.x, drawn.y)), HashValue(drawn.facing));
    auto found = static_cast<std::uint32_t>(groups_.size());
    byValues.ForEach(hash, [&](std::uint32_t group) {
      const DrawnObject& first = objects[firstMembers[group]];
      if (first.typeText == drawn.typeText && first.x == drawn.x && first.y == drawn.y &&
          first.facing == drawn.facing) {
        found = group;
      }
    });
    if (found == groups_.size()) {
      byValues.Add(hash, found);
      firstMembers.push_back(object);
      groups_.emplace_back();
    }
    groupOfObject[object] = found;
    ++groups_[found].memberCount;
  }

  byPosition_.Reserve(groups_.size());
  // Each group goes into every cell its neighbourhood reaches, mostly four, so that a record
  // asks only its own cell.
  if (movedWithin_ > 0) byTypeFacingCell_.Reserve(groups_.size() * 4);
  std::uint32_t nextMember = 0;
  for (std::uint32_t index = 0; index < groups_.size(); ++index) {
    Group& group = groups_[index];
    const DrawnObject& drawn = objects[firstMembers[index]];
    group.textBegin = static_cast<std::uint32_t>(texts_.size());
    texts_ += drawn.typeText;
    texts_ += NumberText(drawn.x);
    texts_ += ' ';
    texts_ += NumberText(drawn.y);
    texts_ += " 0";
    const std::size_t facingBegin = texts_.size();
    texts_ += NumberText(drawn.facing);
    texts_ += " 0";
    group.typeLength = static_cast<std::uint32_t>(drawn.typeText.size());
    group.positionLength =
        static_cast<std::uint32_t>(facingBegin - group.textBegin - group.typeLength);
    group.facingLength = static_cast<std::uint32_t>(texts_.size() - facingBegin);
    longestLine_ = std::max<std::size_t>(
        {longestLine_, group.typeLength, group.positionLength, group.facingLength});
    group.x = drawn.x;
    group.y = drawn.y;
    group.facing = drawn.facing;
    group.membersBegin = nextMember;
    nextMember += group.memberCount;
    group.memberCount = 0;

    byPosition_.Add(HashPosition(group.x, group.y), index);
    if (movedWithin_ > 0) {
      double cellsX[3];
      double cellsY[3];
      const int countX =
          CellsBetween(CellOf(group.x - movedWithin_), CellOf(group.x + movedWithin_), cellsX);
      const int countY =
          CellsBetween(CellOf(group.y - movedWithin_), CellOf(group.y + movedWithin_), cellsY);
      const std::uint64_t typeHash = HashText(TypeOf(group));
      for (int i = 0; i < countX; ++i) {
        for (int j = 0; j < countY; ++j) {
          byTypeFacingCell_.Add(HashTypeFacingCell(typeHash, group.facing, cellsX[i], cellsY[j]),
                                index);
        }
      }
    }
  }
  longestLine_ += kLongestKey;
  members_.resize(objects.size());
  for (std::uint32_t object = 0; object < objects.size(); ++object) {
    Group& group = groups_[groupOfObject[object]];
    members_[group.membersBegin + group.memberCount++] = object;
  }
}

std::span<const std::uint32_t> RunObjectIndex::Members(std::uint32_t group) const {
  return std::span<const std::uint32_t>(members_).subspan(groups_[group].membersBegin,
                                                          groups_[group].memberCount);
}

std::string_view RunObjectIndex::TypeOf(const Group& group) const {
  return std::string_view(texts_).substr(group.textBegin, group.typeLength);
}

std::string_view RunObjectIndex::PositionOf(const Group& group) const {
  return std::string_view(texts_).substr(group.textBegin + group.typeLength, group.positionLength);
}

std::string_view RunObjectIndex::FacingOf(const Group& group) const {
  return std::string_view(texts_).substr(group.textBegin + group.typeLength + group.positionLength,
                                         group.facingLength);
}

double RunObjectIndex::CellOf(double coordinate) const {
  return std::floor(coordinate / (2 * movedWithin_));
}

std::optional<std::uint32_t> RunObjectIndex::Find(std::string_view type, std::string_view position,
                                                  std::string_view facing, bool wholeBlock,
                                                  std::vector<Resemblance>& found) const {
  double xy[2] = {0, 0};
  double angle = 0;
  if (!ReadNumbers(position, 2, xy)) return std::nullopt;
  const bool haveFacing = ReadNumbers(facing, 1, &angle);
  const double x = xy[0];
  const double y = xy[1];

  const std::size_t before = found.size();
  std::optional<std::uint32_t> block;
  byPosition_.ForEach(HashPosition(x, y), [&](std::uint32_t index) {
    const Group& group = groups_[index];
    if (group.x != x || group.y != y) return;
    const bool sameType = TypeOf(group) == type;
    if (wholeBlock && sameType && PositionOf(group) == position && FacingOf(group) == facing) {
      block = index;
      return;
    }
    const bool sameFacing = haveFacing && group.facing == angle;
    if (!sameType && !sameFacing) return;
    const unsigned differences = sameType && sameFacing ? kDifferentText
                                                        : (sameType ? 0u : kDifferentType) |
                                                              (sameFacing ? 0u : kDifferentFacing);
    found.push_back({index, differences});
  });
  if (block) {
    found.resize(before);
    return block;
  }

  if (!haveFacing || movedWithin_ == 0) return std::nullopt;
  const std::uint64_t hash = HashTypeFacingCell(HashText(type), angle, CellOf(x), CellOf(y));
  byTypeFacingCell_.ForEach(hash, [&](std::uint32_t index) {
    const Group& group = groups_[index];
    if (TypeOf(group) != type || group.facing != angle) return;
    if (group.x == x && group.y == y) return;  // found above
    if (std::fabs(group.x - x) <= movedWithin_ && std::fabs(group.y - y) <= movedWithin_) {
      found.push_back({index, kDifferentPosition});
    }
  });
  return std::nullopt;
}

}  // namespace bosquell
