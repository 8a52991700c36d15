#include "window_logic/preview_seeds.h"

#include <chrono>
#include <exception>
#include <random>

namespace bosquell {

std::uint32_t ClockPreviewSeed() {
  const auto ticks = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::uint32_t seed = static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
  // A system without an entropy source still has the clock.
  try {
    std::random_device entropy;
    seed ^= entropy();
  } catch (const std::exception&) {
  }
  return seed;
}

}  // namespace bosquell
