#pragma once

#include <cstdint>

namespace OrvennModelBuilder {

// Rounding policy of the type converters: halves round away from zero;
// a result that is NaN or outside the 32-bit signed range becomes -2^31.
class TypeConverterRound {
 public:
  static double Round(double x);
  static int32_t ToInt32(double x);

  static void Convert(double in, double& out) { out = Round(in); }
  static void Convert(double in, int32_t& out) { out = ToInt32(in); }
};

}  // namespace OrvennModelBuilder
