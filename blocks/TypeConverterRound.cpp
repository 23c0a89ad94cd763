#include "blocks/TypeConverterRound.h"

#include <cmath>

namespace OrvennModelBuilder {

double TypeConverterRound::Round(double x) { return x < 0 ? std::ceil(x - 0.5) : std::floor(x + 0.5); }

int32_t TypeConverterRound::ToInt32(double x) {
  const double r = Round(x);
  // NaN fails both comparisons.
  if (r >= -2147483648.0 && r <= 2147483647.0) return int32_t(r);
  return INT32_MIN;
}

}  // namespace OrvennModelBuilder
