#include "run/mission_near_run.h"

#include <exception>
#include <memory>
#include <string_view>

#include "mission/item_positions.h"
#include "mission/line_splitter.h"
#include "takeback/run_object_index.h"

namespace bosquell {
namespace {

constexpr std::size_t kHeadLength = 64 * 1024;
constexpr std::size_t kChunk = 256 * 1024;

bool StartsWithKey(std::string_view line, std::string_view key) {
  return line.starts_with(key) &&
         (line.size() == key.size() || line[key.size()] == ' ' || line[key.size()] == '\t');
}

// The first word after a key, blanks around it dropped.
std::string_view FirstWord(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  const std::size_t end = text.find_first_of(" \t", begin);
  return text.substr(begin, end == std::string_view::npos ? text.npos : end - begin);
}

// Follows item records line by line for the first type_id and position of each, and keeps the
// records near the run.
class NearRecords {
 public:
  NearRecords(const MapRectangle& near, const MapRectangle& recordsNear,
              const std::set<std::string>& types, MissionNearRun& found)
      : near_(near), recordsNear_(recordsNear), types_(types), found_(found) {}

  void Take(std::string_view line, bool cut) {
    if (line.empty()) {
      if (inRecord_) text_.append("\r\n");
      return;
    }
    if (line.front() == 'b' && StartsWithKey(line, "begin item")) {
      inRecord_ = true;
      cut_ = false;
      type_.reset();
      position_.reset();
      text_.clear();
    }
    if (!inRecord_) return;
    cut_ = cut_ || cut;
    text_.append(line).append("\r\n");
    if (line.front() == 'e' && StartsWithKey(line, "end item")) {
      inRecord_ = false;
      // A record of the run's types after one of another type begins a block of them.
      const bool runType = type_ && types_.contains(*type_);
      if (runType && !afterRunType_) found_.lastBlock = found_.lookAlikes.size();
      afterRunType_ = runType;
      // Only a record with a type can be a run's tree, changed or not.
      if (type_ && position_) Keep();
    } else if (line.front() == ' ' && !cut) {
      if (!type_ && StartsWithKey(line, "  type_id")) {
        type_.emplace(FirstWord(line.substr(9)));
      } else if (!position_ && StartsWithKey(line, "  position")) {
        position_.emplace(line.substr(10));
      }
    }
  }

 private:
  void Keep() {
    const std::optional<MapPoint> position = PositionValue(*position_);
    if (!position) return;
    if (near_.Contains(*position) && types_.contains(*type_)) {
      found_.lookAlikes.push_back(*position);
    }
    // A record with a cut line is no run's tree, not even changed.
    if (!cut_ && recordsNear_.Contains(*position)) found_.records += text_;
  }

  const MapRectangle& near_;
  const MapRectangle& recordsNear_;
  const std::set<std::string>& types_;
  MissionNearRun& found_;
  bool inRecord_ = false;
  bool afterRunType_ = false;
  bool cut_ = false;
  std::string text_;
  std::optional<std::string> type_;
  std::optional<std::string> position_;  // the text after the key
};

}  // namespace

std::optional<MissionNearRun> ReadMissionNearRun(std::streambuf& mission, const MapRectangle& near,
                                                 const MapRectangle& recordsNear,
                                                 const std::set<std::string>& types) {
  MissionNearRun result;
  ItemPositionScanner positions([&](MapPoint at) {
    if (near.Contains(at)) result.points.push_back(at);
  });
  LineSplitter splitter(kHeadLength);
  NearRecords records(near, recordsNear, types, result);
  const auto take = [&records](std::string_view line, bool cut) { records.Take(line, cut); };
  const auto chunk = std::make_unique_for_overwrite<char[]>(kChunk);
  for (;;) {
    std::streamsize got = 0;
    try {
      got = mission.sgetn(chunk.get(), static_cast<std::streamsize>(kChunk));
    } catch (const std::exception&) {
      return std::nullopt;  // a file buffer reports a failed read by throwing or a short count
    }
    if (got <= 0) break;
    const std::string_view bytes(chunk.get(), static_cast<std::size_t>(got));
    positions.Feed(bytes);
    splitter.Feed(bytes, take);
  }
  positions.Finish();
  splitter.Finish(take);
  return result;
}

}  // namespace bosquell
