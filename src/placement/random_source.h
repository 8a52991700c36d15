#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>

namespace bosquell {

// Where the random units of a run come from.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Called once at the start of every run: the sequence the run draws from begins here.
  virtual void StartRun() = 0;
  // The next number r, uniform in single precision with 0 <= r < 1.
  virtual float RandomUnit() = 0;
};

// A Mersenne Twister, whose sequence for a given seed the C++ standard fixes, so a seeded run
// gives the same objects on every platform.
class MersenneRandom final : public RandomSource {
 public:
  // Each run is seeded from the clock.
  MersenneRandom();
  // Each run starts from this seed instead of the clock, to repeat a result.
  explicit MersenneRandom(std::uint32_t fixedSeed);

  // Reseeds from the clock, or starts over from the fixed seed.
  void StartRun() override;
  float RandomUnit() override;

  // The seed the current run started from.
  std::uint32_t Seed() const { return seed_; }

 private:
  void ReseedFromClock();

  std::mt19937 engine_;
  std::uint32_t seed_ = 0;
  bool fixed_ = false;
};

// The integer draw every random choice uses: floor((high - low + 1) * r + low). For whole low
// and high and r in [0, 1) each whole number from low to high comes up equally often.
// Inline: it runs several times for every candidate of an even fill.
inline double RandomInt(double low, double high, float r) {
  return std::floor((high - low + 1) * static_cast<double>(r) + low);
}

// One of `count` (at least 1) items, 0 to count - 1: RandomInt(0, count - 1, r).
std::size_t RandomIndex(std::size_t count, float r);

}  // namespace bosquell
