#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/map_point.h"
#include "mission/mission_lines.h"
#include "placement/placement.h"

namespace bosquell {

// How far a tree may have been moved, in map units along each axis, and still be reported as the
// run's tree, changed: four user units.
inline constexpr double kMovedWithin = 4 * kMapUnitsPerUserUnit;

struct TakeBackOptions {
  double movedWithin = kMovedWithin;  // 0 reports no moved tree
};

// What became of one object of the run in the mission.
enum class ObjectFate : std::uint8_t {
  kNotFound,  // no record holds it, not even changed
  kRemoved,   // its record is the run's block, and is left out
  kChanged,   // a record resembles it and is kept (see KeptRecord)
};

// A record that is kept although it resembles, or repeats, one of the run's objects.
struct KeptRecord {
  std::string id;            // its id as the record holds it, after "  id " (at most 64 bytes)
  std::uint64_t line = 0;    // the line of its "begin item", counted from 1
  std::uint32_t object = 0;  // the run object it resembles or repeats, by index
  unsigned differences = 0;  // RecordDifference flags; 0 for a repeat of the run's block
  MapPoint at;               // a changed record's position as read; a repeat stands at its object's
};

// Bytes of the mission that are left out: whole lines, [from, to) in the input, the lines
// firstLine to lastLine (counted from 1).
struct LeftOutLines {
  std::uint64_t from = 0;
  std::uint64_t to = 0;
  std::uint64_t firstLine = 0;
  std::uint64_t lastLine = 0;
};

// What the search for a run's records found in a mission: the report, and the plan of what to
// leave out when the mission is written again.
struct RunRecords {
  std::vector<ObjectFate> fates;      // one for each of the run's objects, in the run's order
  std::size_t removed = 0;            // the records left out, one for each object kRemoved
  std::vector<KeptRecord> changed;    // one for each object kChanged, in file order
  std::vector<KeptRecord> repeated;   // records that repeat a removed one, in file order
  std::vector<LeftOutLines> leftOut;  // in file order, none touching the next
  std::uint64_t inputLength = 0;      // the mission's size as it was read
  std::uint64_t lineCount = 0;
  LineBreaks breaks = LineBreaks::kUnknown;

  std::size_t NotFound() const;
  std::size_t Changed() const { return changed.size(); }
};

// A count line that was not lowered.
struct CountLineLeft {
  enum class Reason {
    kBelowZero,  // its number, less the records left out, would be below zero
    kNotFinite,  // its number is beyond the range of a double
    kTooLong,    // the line is longer than the part of a line that is read
  };
  std::uint64_t line = 0;  // counted from 1
  std::string text;        // its first bytes (at most 64)
  Reason reason = Reason::kBelowZero;
};

struct CountLines {
  std::size_t lowered = 0;
  std::vector<CountLineLeft> left;
};

struct TakeBackReport {
  RunRecords records;
  CountLines countLines;  // empty when nothing was written
};

}  // namespace bosquell
