#include "map/mission_density.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "files/file_buffers.h"
#include "files/mission_file.h"
#include "mission/item_positions.h"

namespace bosquell {
namespace {

// Calls found(point) for each position of the mission's item records; false when it cannot be
// read.
template <typename Found>
bool ReadPositions(const std::string& missionPath, Found found) {
  std::error_code error;
  const NativeFile mission = OpenMissionForReading(missionPath, error);
  if (!mission.IsOpen()) return false;
  FileReadBuffer bytes(mission);
  return ForEachItemPosition(bytes, found);
}

// Half the distance from `low` to `high`. Positions may lie farther apart than the largest
// double, but half their distance is always finite; halving is exact, so bins come out the
// same as from the whole distance.
double HalfDistance(double low, double high) {
  return high / 2 - low / 2;
}

// The bin `halfOffset` (half a distance from the first bin's edge) falls in, as a count of
// bins no larger than `bins`, so that it converts to an integer safely.
int BinIndex(double halfOffset, double binSize, int bins) {
  const double at = halfOffset / (binSize / 2);
  if (!(at > 0)) return 0;
  return at < bins ? static_cast<int>(at) : bins - 1;
}

}  // namespace

std::optional<MissionDensity> MissionDensity::Read(const std::string& missionPath) {
  MissionDensity density;
  MapRectangle& bounds = density.bounds_;
  bounds = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
            -std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  const bool read = ReadPositions(missionPath, [&](MapPoint point) {
    ++density.count_;
    bounds.left = std::min(bounds.left, point.x);
    bounds.right = std::max(bounds.right, point.x);
    bounds.bottom = std::min(bounds.bottom, point.y);
    bounds.top = std::max(bounds.top, point.y);
  });
  if (!read) return std::nullopt;
  if (density.count_ == 0) {
    bounds = {};
    return density;
  }

  const double halfWidth = HalfDistance(bounds.left, bounds.right);
  const double halfHeight = HalfDistance(bounds.bottom, bounds.top);
  density.binSize_ = std::max({halfWidth / (kMaxBins / 2), halfHeight / (kMaxBins / 2), 1.0});
  density.columns_ = BinIndex(halfWidth, density.binSize_, kMaxBins) + 1;
  density.rows_ = BinIndex(halfHeight, density.binSize_, kMaxBins) + 1;
  density.bins_.assign(static_cast<std::size_t>(density.columns_) * density.rows_, 0);
  std::uint64_t binned = 0;
  const bool readAgain = ReadPositions(missionPath, [&](MapPoint point) {
    // A file that changed between the two reads may hold points outside: they go to the edge.
    const int column =
        BinIndex(HalfDistance(bounds.left, point.x), density.binSize_, density.columns_);
    const int row = BinIndex(HalfDistance(bounds.bottom, point.y), density.binSize_, density.rows_);
    std::uint32_t& bin = density.bins_[static_cast<std::size_t>(row) * density.columns_ + column];
    if (bin < std::numeric_limits<std::uint32_t>::max()) ++bin;
    ++binned;
  });
  if (!readAgain) return std::nullopt;
  density.count_ = binned;
  return density;
}

}  // namespace bosquell
