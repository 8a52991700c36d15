#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/map_point.h"

namespace bosquell {

// The objects a mission holds, as the map shows them: their number, the rectangle around them
// and their counts in square bins over it, at most kMaxBins along a side. Memory does not grow
// with the mission: a mission of millions of objects takes the same few megabytes.
class MissionDensity {
 public:
  static constexpr int kMaxBins = 1024;

  // Reads the positions of the mission's item records, twice: once for the rectangle, once for
  // the counts. Nothing when the mission cannot be read.
  static std::optional<MissionDensity> Read(const std::string& missionPath);

  std::uint64_t Count() const { return count_; }
  // The rectangle around every object; meaningless when Count() is 0.
  const MapRectangle& Bounds() const { return bounds_; }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  double BinSize() const { return binSize_; }
  // The objects in a bin; row 0 is the bottom one.
  std::uint32_t At(int column, int row) const { return bins_[row * columns_ + column]; }

 private:
  std::uint64_t count_ = 0;
  MapRectangle bounds_;
  int columns_ = 0;
  int rows_ = 0;
  double binSize_ = 1;
  std::vector<std::uint32_t> bins_;
};

}  // namespace bosquell
