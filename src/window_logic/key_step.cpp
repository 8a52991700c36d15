#include "window_logic/key_step.h"

#include <array>
#include <cstddef>

#include "placement/placement.h"

namespace bosquell {

double KeyStep(double mapUnitsPerPixel) {
  constexpr double kStepPixels = 8;
  const double wanted = kStepPixels * mapUnitsPerPixel / kMapUnitsPerUserUnit;
  double step = 1;
  constexpr std::array<double, 3> kFactors{2, 2.5, 2};  // 1, 2, 5, 10, 20, 50, ...
  for (std::size_t i = 0; step < wanted && step < 1e9; ++i) step *= kFactors[i % 3];
  return step;
}

}  // namespace bosquell
