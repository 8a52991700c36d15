#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mission/mission_lines.h"

namespace bosquell {

// A stretch at the start of a mission's bytes that the search for a run's records may pass
// without taking its lines one by one, outside any record: whole lines, none beginning with
// "  type_id" (a record without one can be no run's object, not even changed).
struct PassableLines {
  std::size_t length = 0;
  std::uint64_t lines = 0;
  // The last line passed: whether it is empty, where it starts; and whether the one before it
  // is empty (when two or more were passed).
  bool lastEmpty = false;
  std::size_t lastStart = 0;
  bool beforeLastEmpty = false;
};

// The stretch of `bytes`, which start a line outside any record in a file of `breaks`. It ends
// before the first line that begins with "  type_id", that ends in a CR alone, or that `bytes`
// do not hold whole; then goes back to the last "begin item" line before that, where the
// record around it would start. Empty when the first line is one of those, or the breaks are
// not known yet.
PassableLines ScanPassableLines(std::string_view bytes, LineBreaks breaks);

}  // namespace bosquell
