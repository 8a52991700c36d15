#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "placement/recipe_draw.h"
#include "placement/sorted_point_grid.h"

namespace bosquell {

// A preview drawn: the draws of a run on the inputs of one moment, tagged with that moment's
// number so that the map takes only the newest. The keep-clear grid it read (or was given) comes
// back with it, for the next preview of the same area and distance.
struct DrawnPreview {
  std::uint64_t generation = 0;
  DrawnLayers drawn;
  std::shared_ptr<const SortedPointGrid> keepClearGrid;
  std::optional<KeepClearReach> keepClearFor;
  // Why the mission's objects could not be read for keeping clear; nothing was drawn then.
  std::optional<std::string> keepClearFailure;
};

// One preview to draw. `draw` holds what it reads: it may run on another thread.
struct PreviewJob {
  std::uint64_t generation = 0;
  std::function<DrawnPreview()> draw;
};

// Where the map's previews are drawn. A job queued while an earlier one waits replaces it: the
// newest inputs win.
class PreviewExecutor {
 public:
  virtual ~PreviewExecutor() = default;
  virtual void Submit(PreviewJob job) = 0;
  // The preview finished last and not taken yet.
  virtual std::optional<DrawnPreview> TakeFinished() = 0;
};

// Draws each job on the spot, on the caller's thread: tests, benchmarks and a map without a
// window thread to spare.
class DrawAtOnce final : public PreviewExecutor {
 public:
  void Submit(PreviewJob job) override;
  std::optional<DrawnPreview> TakeFinished() override;

 private:
  std::optional<DrawnPreview> finished_;
};

}  // namespace bosquell
