#include "placement/random_source.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace bosquell {
namespace {

std::uint32_t ClockSeed() {
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

}  // namespace

MersenneRandom::MersenneRandom() {
  ReseedFromClock();
}

MersenneRandom::MersenneRandom(std::uint32_t fixedSeed) : seed_(fixedSeed), fixed_(true) {
  engine_.seed(seed_);
}

void MersenneRandom::StartRun() {
  if (fixed_) {
    engine_.seed(seed_);
  } else {
    ReseedFromClock();
  }
}

void MersenneRandom::ReseedFromClock() {
  seed_ = ClockSeed();
  engine_.seed(seed_);
}

float MersenneRandom::RandomUnit() {
  // The top 24 bits fill a float's mantissa exactly, so the result is never rounded up to 1.
  constexpr float kUnit = 1.0f / 16777216.0f;  // 2^-24
  return static_cast<float>(engine_() >> 8) * kUnit;
}

std::size_t RandomIndex(std::size_t count, float r) {
  // Beyond 2^24 items the product can round up to `count` itself.
  const double drawn = RandomInt(0, static_cast<double>(count - 1), r);
  return std::min(static_cast<std::size_t>(drawn), count - 1);
}

}  // namespace bosquell
