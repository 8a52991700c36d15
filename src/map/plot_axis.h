#pragma once

#include <vector>

namespace bosquell {

// An axis whose ends and ticks fall on whole multiples of a step of 1, 2 or 5 times a power of
// ten, so that its labels read at a glance.
struct PlotAxis {
  double low = 0;
  double high = 1;
  std::vector<double> ticks;  // from low to high inclusive
};

// The step of 1, 2 or 5 times a power of ten that cuts `span` into about `targetIntervals`.
double NiceStep(double span, int targetIntervals);

// Widens [low, high] outwards to multiples of `step` and lists the ticks between. A range
// without width is first widened by one step on each side.
PlotAxis AxisWithStep(double low, double high, double step);

}  // namespace bosquell
