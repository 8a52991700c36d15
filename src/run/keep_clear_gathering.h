#pragma once

#include <exception>
#include <optional>
#include <streambuf>
#include <string_view>

#include "files/background_write_buffer.h"
#include "mission/item_positions.h"
#include "placement/recipe_draw.h"
#include "placement/sorted_point_grid.h"

namespace bosquell {

// The mission's objects that keeping clear looks at, gathered from the bytes of the copy pass as
// it reads them, so that the mission is read once: the positions are found on a thread of their
// own while the pass copies (the first few megabytes, and so all of a small mission, on the
// caller's thread).
class KeepClearGathering {
 public:
  explicit KeepClearGathering(const KeepClearReach& reach);
  KeepClearGathering(const KeepClearGathering&) = delete;
  KeepClearGathering& operator=(const KeepClearGathering&) = delete;

  // The next bytes of the mission, in order.
  void Take(std::string_view bytes);
  // Every byte has been taken: the grid of the points gathered. Throws what finding them threw
  // (memory running out).
  SortedPointGrid Finish() &&;

 private:
  // Hands the bytes written to it to the scanner, and keeps the first failure.
  class ScanSink final : public std::streambuf {
   public:
    explicit ScanSink(ItemPositionScanner& scanner) : scanner_(scanner) {}
    std::exception_ptr failure;

   protected:
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int_type overflow(int_type byte) override;

   private:
    ItemPositionScanner& scanner_;
  };

  SortedPointGrid::Builder points_;
  ItemPositionScanner scanner_;
  ScanSink sink_{scanner_};
  // Its blocks are let go before the grid is built, which is when a run needs most memory.
  std::optional<BackgroundWriteBuffer> background_{std::in_place, sink_};
};

}  // namespace bosquell
