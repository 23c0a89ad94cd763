#pragma once

#include "blocks/TypeConverterBase.h"
#include "blocks/TypeConverterRound.h"
#include "dataflow/CircularBuffer.h"

namespace OrvennModelBuilder {

// Declares the pins of a converter; produces nothing by itself.
// Provided for <CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>.
template <class InBuffer, class OutBuffer, class Policy>
class TypeConverter : public TypeConverterBase {
 public:
  InBuffer Input;
  OutBuffer Output;
};

extern template class TypeConverter<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>;

}  // namespace OrvennModelBuilder
