#include "window_logic/preview_executor.h"

#include <utility>

namespace bosquell {

void DrawAtOnce::Submit(PreviewJob job) {
  finished_ = job.draw();
  finished_->generation = job.generation;
}

std::optional<DrawnPreview> DrawAtOnce::TakeFinished() {
  return std::exchange(finished_, std::nullopt);
}

}  // namespace bosquell
