#pragma once

#include "blocks/TypeConverter.h"

namespace OrvennModelBuilder {

// Converts the current input sample with the policy at every firing.
// Provided for <CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>.
template <class InBuffer, class OutBuffer, class Policy>
class ScalarToScalar : public TypeConverter<InBuffer, OutBuffer, Policy> {
 public:
  bool Run() override;
};

extern template class ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>;

}  // namespace OrvennModelBuilder
