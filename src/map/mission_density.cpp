#include "map/mission_density.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/utf8_path.h"
#include "mission/item_positions.h"
#include "run/file_buffers.h"
#include "run/platform_files.h"

namespace bosquell {
namespace {

// Calls found(point) for each position of the mission's item records; false when it cannot be
// read.
template <typename Found>
bool ReadPositions(const std::string& missionPath, Found found) {
  std::error_code error;
  const NativeFile mission = OpenRegularFileForReading(PathFromUtf8(missionPath), error);
  if (!mission.IsOpen()) return false;
  FileReadBuffer bytes(mission);
  return ForEachItemPosition(bytes, found);
}

int BinIndex(double offset, double binSize, int bins) {
  const double at = offset / binSize;
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

  const double width = bounds.right - bounds.left;
  const double height = bounds.top - bounds.bottom;
  density.binSize_ = std::max({width / kMaxBins, height / kMaxBins, 1.0});
  density.columns_ = std::min(static_cast<int>(width / density.binSize_) + 1, kMaxBins);
  density.rows_ = std::min(static_cast<int>(height / density.binSize_) + 1, kMaxBins);
  density.bins_.assign(static_cast<std::size_t>(density.columns_) * density.rows_, 0);
  std::uint64_t binned = 0;
  const bool readAgain = ReadPositions(missionPath, [&](MapPoint point) {
    // A file that changed between the two reads may hold points outside: they go to the edge.
    const int column = BinIndex(point.x - bounds.left, density.binSize_, density.columns_);
    const int row = BinIndex(point.y - bounds.bottom, density.binSize_, density.rows_);
    std::uint32_t& bin = density.bins_[static_cast<std::size_t>(row) * density.columns_ + column];
    if (bin < std::numeric_limits<std::uint32_t>::max()) ++bin;
    ++binned;
  });
  if (!readAgain) return std::nullopt;
  density.count_ = binned;
  return density;
}

}  // namespace bosquell
