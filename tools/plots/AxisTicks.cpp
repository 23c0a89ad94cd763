#include "tools/plots/AxisTicks.h"

#include <algorithm>
#include <cmath>

AxisTicks::AxisTicks(double low, double high, double step) {
  if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(low) || !std::isfinite(high) || !(low <= high)) return;
  const double first = std::ceil(low / step - 1e-6);
  const double last = std::floor(high / step + 1e-6);
  // Whole multiples as doubles first: ends too far out in steps (where the
  // doubles no longer count one by one) or a span of too many steps are
  // refused before anything is converted to an integer.
  constexpr double kExact = 1e15;
  if (!(std::fabs(first) < kExact) || !(std::fabs(last) < kExact) || last < first || last - first >= kMaxTicks) return;
  step_ = step;
  first_ = static_cast<long>(first);
  count_ = static_cast<long>(last - first) + 1;
}

double AxisTicks::NiceStep(double span, int target) {
  if (!(span > 0.0) || !std::isfinite(span)) return 0.0;
  const double raw = span / std::max(1, target);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  if (!(power > 0.0) || !std::isfinite(power)) return 0.0;
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= raw) return m * power;
  return 10.0 * power;
}
