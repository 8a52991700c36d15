#include "map/plot_axis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace bosquell {
namespace {

// More ticks than this only happen when the values are too large for their step to show.
constexpr int kMostTicks = 100;

// An axis one unit long from `low`, for values or steps that have no multiples to count.
PlotAxis UnitAxis(double low) {
  PlotAxis axis;
  axis.low = std::isfinite(low) ? low : 0;
  axis.high = axis.low + 1;
  axis.ticks = {axis.low, axis.high};
  return axis;
}

// The largest power of ten not above `value` (> 0), by multiplying and dividing by ten: plain
// arithmetic gives the same bits on every platform, where pow and log10 need not.
double PowerOfTenAtMost(double value) {
  double power = 1;
  while (power * 10 <= value) power *= 10;
  while (power > value && power / 10 > 0) power /= 10;
  return power;
}

}  // namespace

double NiceStep(double span, int targetIntervals) {
  if (!(span > 0) || !std::isfinite(span) || targetIntervals < 1) return 1;
  const double rough = span / targetIntervals;
  const double magnitude = PowerOfTenAtMost(rough);
  const double fraction = rough / magnitude;
  const double mantissa = fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10;
  const double step = mantissa * magnitude;
  if (step > 0 && std::isfinite(step)) return step;
  // Near the ends of the doubles the power of ten overflows or vanishes: the rough step serves.
  return rough > 0 ? rough : std::numeric_limits<double>::denorm_min();
}

PlotAxis AxisWithStep(double low, double high, double step) {
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(low) || !std::isfinite(high)) {
    return UnitAxis(low);
  }
  if (low > high) std::swap(low, high);
  double first = std::floor(low / step);
  double last = std::ceil(high / step);
  // A step too small for the values overflows their count.
  if (!std::isfinite(first) || !std::isfinite(last)) return UnitAxis(low);
  if (first == last) {
    first -= 1;
    last += 1;
  }
  PlotAxis axis;
  axis.low = first * step;
  axis.high = last * step;
  // Each tick is computed from its own index, so rounding errors do not add up along the axis.
  const double count = std::min(last - first, static_cast<double>(kMostTicks));
  for (int i = 0; i <= static_cast<int>(count); ++i) axis.ticks.push_back((first + i) * step);
  return axis;
}

}  // namespace bosquell
