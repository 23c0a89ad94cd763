#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBusT.h"
#include "dataflow/DFModel.h"

namespace OrvennModelBuilder {

// Sums its input branches, starting from +0.0 and adding branch 0 first.
// Provided for T = double.
template <class T>
class Add : public DFModel {
 public:
  bool Run() override;

  CircularBufferBusT<CircularBuffer<T>> Input;  // one summand per branch
  CircularBuffer<T> Output;                     // the sum
};

extern template class Add<double>;

}  // namespace OrvennModelBuilder
