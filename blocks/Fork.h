#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBusT.h"
#include "dataflow/DFModel.h"

namespace OrvennModelBuilder {

// Copies its input to every output branch. Provided for CircularBuffer<int>
// and CircularBuffer<double>.
template <class Buffer>
class Fork : public DFModel {
 public:
  bool Run() override;

  Buffer Input;                       // the signal
  CircularBufferBusT<Buffer> Output;  // one copy per branch
};

extern template class Fork<CircularBuffer<int>>;
extern template class Fork<CircularBuffer<double>>;

}  // namespace OrvennModelBuilder
