#include "takeback/run_object_index.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <functional>
#include <system_error>
#include <unordered_map>
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

std::uint64_t HashText(std::string_view text) {
  return std::hash<std::string_view>{}(text);
}

// Equal values hash alike: -0 as 0.
std::uint64_t HashValue(double value) {
  return value == 0 ? 0 : std::bit_cast<std::uint64_t>(value);
}

std::uint64_t HashTexts(std::string_view type, std::string_view position, std::string_view facing) {
  return Combine(Combine(HashText(type), HashText(position)), HashText(facing));
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

// Reads the first `count` blank-separated words of `text` as finite numbers (a leading plus
// allowed). False when there are fewer, or one is no such number.
bool ReadNumbers(std::string_view text, std::size_t count, double* values) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < count; ++i) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    std::size_t end = at;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    std::string_view word = text.substr(at, end - at);
    if (word.starts_with('+')) word.remove_prefix(1);
    const auto read = std::from_chars(word.data(), word.data() + word.size(), values[i]);
    if (word.empty() || read.ec != std::errc() || read.ptr != word.data() + word.size() ||
        !std::isfinite(values[i])) {
      return false;
    }
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

void RunObjectIndex::HashedGroups::Build(
    std::vector<std::pair<std::uint64_t, std::uint32_t>> keyed) {
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  groups_.clear();
  groups_.reserve(keyed.size());
  for (const auto& entry : keyed) groups_.push_back(entry.second);
  slots_.assign(std::bit_ceil(keyed.size() * 2 + 2), Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t begin = 0; begin < keyed.size();) {
    std::size_t end = begin;
    while (end < keyed.size() && keyed[end].first == keyed[begin].first) ++end;
    std::size_t slot = Mix(keyed[begin].first) & mask;
    while (slots_[slot].count != 0) slot = (slot + 1) & mask;
    slots_[slot] = {keyed[begin].first, static_cast<std::uint32_t>(begin),
                    static_cast<std::uint32_t>(end - begin)};
    begin = end;
  }
}

std::span<const std::uint32_t> RunObjectIndex::HashedGroups::Find(std::uint64_t hash) const {
  if (slots_.empty()) return {};
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = Mix(hash) & mask; slots_[slot].count != 0; slot = (slot + 1) & mask) {
    if (slots_[slot].hash == hash) {
      return std::span<const std::uint32_t>(groups_).subspan(slots_[slot].begin,
                                                             slots_[slot].count);
    }
  }
  return {};
}

RunObjectIndex::RunObjectIndex(std::span<const DrawnObject> objects, double movedWithin)
    : movedWithin_(std::isfinite(movedWithin) && movedWithin > 0 ? movedWithin : 0) {
  // The texts a run writes for each object; objects with the same texts form one group.
  std::unordered_map<std::string, std::uint32_t> groupOfKey;
  std::vector<std::uint32_t> groupOfObject;
  groupOfObject.reserve(objects.size());
  for (const DrawnObject& object : objects) {
    const std::string position = NumberText(object.x) + ' ' + NumberText(object.y) + " 0";
    const std::string facing = NumberText(object.facing) + " 0";
    // The number texts hold no NUL, so the key splits one way only.
    std::string key = position + '\0' + facing + '\0' + object.typeText;
    const auto [found, added] =
        groupOfKey.try_emplace(std::move(key), static_cast<std::uint32_t>(groups_.size()));
    if (added) {
      Group group;
      group.textBegin = static_cast<std::uint32_t>(texts_.size());
      group.typeLength = static_cast<std::uint32_t>(object.typeText.size());
      group.positionLength = static_cast<std::uint32_t>(position.size());
      group.facingLength = static_cast<std::uint32_t>(facing.size());
      group.x = object.x;
      group.y = object.y;
      group.facing = object.facing;
      texts_ += object.typeText;
      texts_ += position;
      texts_ += facing;
      longestLine_ = std::max({longestLine_, object.typeText.size(), position.size()});
      groups_.push_back(group);
    }
    groupOfObject.push_back(found->second);
    ++groups_[found->second].memberCount;
  }
  longestLine_ += kLongestKey;

  std::uint32_t next = 0;
  for (Group& group : groups_) {
    group.membersBegin = next;
    next += group.memberCount;
    group.memberCount = 0;
  }
  members_.resize(objects.size());
  for (std::uint32_t object = 0; object < groupOfObject.size(); ++object) {
    Group& group = groups_[groupOfObject[object]];
    members_[group.membersBegin + group.memberCount++] = object;
  }

  std::vector<std::pair<std::uint64_t, std::uint32_t>> byTexts;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> byPosition;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> byCell;
  for (std::uint32_t index = 0; index < groups_.size(); ++index) {
    const Group& group = groups_[index];
    byTexts.emplace_back(HashTexts(TypeOf(group), PositionOf(group), FacingOf(group)), index);
    byPosition.emplace_back(HashPosition(group.x, group.y), index);
    if (movedWithin_ > 0) {
      byCell.emplace_back(HashTypeFacingCell(HashText(TypeOf(group)), group.facing, CellOf(group.x),
                                             CellOf(group.y)),
                          index);
    }
  }
  byTexts_.Build(std::move(byTexts));
  byPosition_.Build(std::move(byPosition));
  byTypeFacingCell_.Build(std::move(byCell));
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

std::optional<std::uint32_t> RunObjectIndex::FindExact(std::string_view type,
                                                       std::string_view position,
                                                       std::string_view facing) const {
  for (const std::uint32_t index : byTexts_.Find(HashTexts(type, position, facing))) {
    const Group& group = groups_[index];
    if (TypeOf(group) == type && PositionOf(group) == position && FacingOf(group) == facing) {
      return index;
    }
  }
  return std::nullopt;
}

void RunObjectIndex::FindResembling(std::string_view type, std::string_view position,
                                    std::string_view facing,
                                    std::vector<Resemblance>& found) const {
  double xy[2] = {0, 0};
  double angle = 0;
  if (!ReadNumbers(position, 2, xy)) return;
  const bool haveFacing = ReadNumbers(facing, 1, &angle);
  const double x = xy[0];
  const double y = xy[1];

  for (const std::uint32_t index : byPosition_.Find(HashPosition(x, y))) {
    const Group& group = groups_[index];
    if (group.x != x || group.y != y) continue;
    const bool sameType = TypeOf(group) == type;
    const bool sameFacing = haveFacing && group.facing == angle;
    if (!sameType && !sameFacing) continue;
    const unsigned differences = sameType && sameFacing ? kDifferentText
                                                        : (sameType ? 0u : kDifferentType) |
                                                              (sameFacing ? 0u : kDifferentFacing);
    found.push_back({index, differences});
  }

  if (!haveFacing || movedWithin_ == 0) return;
  double cellsX[3];
  double cellsY[3];
  const int countX = CellsBetween(CellOf(x - movedWithin_), CellOf(x + movedWithin_), cellsX);
  const int countY = CellsBetween(CellOf(y - movedWithin_), CellOf(y + movedWithin_), cellsY);
  const std::uint64_t typeHash = HashText(type);
  for (int i = 0; i < countX; ++i) {
    for (int j = 0; j < countY; ++j) {
      for (const std::uint32_t index :
           byTypeFacingCell_.Find(HashTypeFacingCell(typeHash, angle, cellsX[i], cellsY[j]))) {
        const Group& group = groups_[index];
        if (TypeOf(group) != type || group.facing != angle) continue;
        if (group.x == x && group.y == y) continue;  // found above
        if (std::fabs(group.x - x) <= movedWithin_ && std::fabs(group.y - y) <= movedWithin_) {
          found.push_back({index, kDifferentPosition});
        }
      }
    }
  }
}

}  // namespace bosquell
