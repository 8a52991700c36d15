#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <streambuf>
#include <string_view>
#include <vector>

#include "common/map_point.h"

namespace bosquell {

// The positions of the objects a mission already holds: the first two numbers of every
// "  position" line inside a "begin item" ... "end item" record, read as the window's number
// boxes read a number ("+5", ".5", "1e-400", which reads as 0). Lines that do not carry two
// finite numbers there are passed over, and so is a line whose two numbers run past its first
// 64 KB, the most of a line that is read. Nothing when the mission cannot be read.
std::optional<std::vector<MapPoint>> ReadItemPositions(std::streambuf& mission);

// The same positions, each handed to `found` in file order, without keeping them. False when
// the mission cannot be read.
bool ForEachItemPosition(std::streambuf& mission, const std::function<void(MapPoint)>& found);

class LineSplitter;

// The same positions, from the bytes of a mission handed over in order, piece by piece: for a
// pass that reads the mission for another reason and lets the positions be found on the way.
class ItemPositionScanner {
 public:
  explicit ItemPositionScanner(std::function<void(MapPoint)> found);
  ~ItemPositionScanner();
  ItemPositionScanner(const ItemPositionScanner&) = delete;
  ItemPositionScanner& operator=(const ItemPositionScanner&) = delete;

  void Feed(std::string_view bytes);
  // The bytes have ended: a last line without a break counts too.
  void Finish();

 private:
  class PositionLines;
  std::unique_ptr<LineSplitter> splitter_;
  std::unique_ptr<PositionLines> lines_;
};

}  // namespace bosquell
