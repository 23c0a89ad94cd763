#include "tools/commands/FiniteRange.h"

#include <cmath>
#include <cstdio>

CLI::Validator FiniteRange(double min, double max) {
  char bounds[96];
  std::snprintf(bounds, sizeof bounds, "[%g - %g]", min, max);
  const std::string range = bounds;
  auto check = [min, max, range](std::string& input) {
    double value = 0.0;
    if (!CLI::detail::lexical_cast(input, value)) return "Value " + input + " is not a number";
    if (!std::isfinite(value)) return "Value " + input + " is not a finite number";
    if (value < min || value > max) return "Value " + input + " not in range " + range;
    return std::string();
  };
  return CLI::Validator(check, "FLOAT in " + range);
}
