#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "placement/placement.h"

namespace bosquell {

// What a record has that is not as in the block the run wrote for an object.
enum RecordDifference : unsigned {
  kDifferentType = 1,      // its type_id
  kDifferentPosition = 2,  // its position, moved by a little
  kDifferentFacing = 4,    // its facing
  kDifferentText = 8,      // type, position and facing as the run's, but other lines, or the
                           // numbers written otherwise ("90.0"), make it another record
};

// The first two numbers of the text after a record's "  position " as the index reads them, or
// nothing when they are not two finite numbers.
std::optional<MapPoint> PositionValue(std::string_view text);

// The objects of a run that is being taken back, found again by the texts and values of their
// records. Objects the run wrote alike (same type, position and facing) form one group, whose
// records all read the same; a record stands for one member of its group.
class RunObjectIndex {
 public:
  struct Resemblance {
    std::uint32_t group = 0;
    unsigned differences = 0;  // RecordDifference flags
  };

  // `movedWithin`: how far, in map units along each axis, a record of the same type and facing
  // may stand from an object and still be taken for it, moved.
  RunObjectIndex(std::span<const DrawnObject> objects, double movedWithin);

  std::size_t GroupCount() const { return groups_.size(); }
  // The run objects of a group, by their indices, in the run's order.
  std::span<const std::uint32_t> Members(std::uint32_t group) const;
  // The longest text a record's type_id, position or facing line can hold and still be exactly
  // a run's line.
  std::size_t LongestLine() const { return longestLine_; }

  // Looks up a record by the texts after its "  type_id ", "  position " and "  facing ". When
  // `wholeBlock` (its other lines are a block's) and the texts are exactly a group's, returns
  // that group. Otherwise appends the groups the record resembles to `found`: two of type,
  // position and facing as theirs (by value, for the numbers), or all three but in other text,
  // or the type and facing with the position moved by a little; first those at the record's
  // very position, then those it may have been moved from.
  std::optional<std::uint32_t> Find(std::string_view type, std::string_view position,
                                    std::string_view facing, bool wholeBlock,
                                    std::vector<Resemblance>& found) const;

 private:
  struct Group {
    std::uint32_t textBegin = 0;  // type, position and facing texts in texts_, one after another
    std::uint32_t typeLength = 0;
    std::uint32_t positionLength = 0;
    std::uint32_t facingLength = 0;
    double x = 0;
    double y = 0;
    double facing = 0;
    std::uint32_t membersBegin = 0;  // in members_
    std::uint32_t memberCount = 0;
  };

  // Groups by the hash of a key, in chains: several groups may share a hash, and the caller
  // checks each one it is handed.
  class HashedGroups {
   public:
    void Reserve(std::size_t count);
    void Add(std::uint64_t hash, std::uint32_t group);
    template <typename Visit>
    void ForEach(std::uint64_t hash, Visit visit) const {
      if (heads_.empty()) return;
      // Most keys asked for are none of the run's: a small bit filter answers them.
      const std::size_t bit = FilterBit(hash);
      if ((filter_[bit / 64] >> (bit % 64) & 1) == 0) return;
      for (std::uint32_t at = heads_[SlotOf(hash)]; at != kNone; at = entries_[at].next) {
        if (entries_[at].hash == hash) visit(entries_[at].group);
      }
    }

   private:
    static constexpr std::uint32_t kNone = 0xffffffffu;
    struct Entry {
      std::uint64_t hash = 0;
      std::uint32_t group = 0;
      std::uint32_t next = kNone;
    };
    std::size_t SlotOf(std::uint64_t hash) const;
    std::size_t FilterBit(std::uint64_t hash) const;

    std::vector<std::uint32_t> heads_;  // the last entry added to each slot
    std::vector<Entry> entries_;
    std::vector<std::uint64_t> filter_;  // a bit set for each hash added, 16 bits an entry
  };

  std::string_view TypeOf(const Group& group) const;
  std::string_view PositionOf(const Group& group) const;
  std::string_view FacingOf(const Group& group) const;
  // The cell of a coordinate in the grid the moved records are looked up in.
  double CellOf(double coordinate) const;

  std::string texts_;
  std::vector<Group> groups_;
  std::vector<std::uint32_t> members_;
  std::size_t longestLine_ = 0;
  double movedWithin_ = 0;
  HashedGroups byPosition_;
  HashedGroups byTypeFacingCell_;
};

}  // namespace bosquell
