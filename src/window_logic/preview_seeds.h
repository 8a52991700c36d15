#pragma once

#include <cstdint>
#include <functional>

namespace bosquell {

// Where the map's previews take their seeds from: each call gives the seed of a new preview.
using PreviewSeeds = std::function<std::uint32_t()>;

// A new seed from the clock, mixed with the system's entropy where there is any, so that two
// previews made within the clock's resolution still differ. Both windows seed from it.
std::uint32_t ClockPreviewSeed();

}  // namespace bosquell
