#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace bosquell {

// A stretch at the start of a mission's bytes that the search for a run's records may pass
// without taking its lines one by one, outside any record: whole lines ending in CR LF, none
// beginning with "  type_id" (a record without one can be no run's object, not even changed).
struct PassableLines {
  std::size_t length = 0;
  std::uint64_t lines = 0;
};

// The stretch of `bytes`, which start a line outside any record. It ends before the first line
// that begins with "  type_id", that ends in a CR alone, or that `bytes` do not hold whole; then
// goes back to the last "begin item" line before that, where the record around it would start.
// Empty when the first line is one of those.
PassableLines ScanPassableLines(std::string_view bytes);

}  // namespace bosquell
