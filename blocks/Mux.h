#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBusT.h"
#include "dataflow/DFModel.h"

#include <cstdint>

namespace OrvennModelBuilder {

// Passes input branch number Control to the output, BlockSize samples per
// firing. Control is written by the owner before every Run; a value that
// names no input fails the firing. Provided for CircularBuffer<double>.
template <class Buffer>
class Mux : public DFModel {
 public:
  bool Setup() override;
  bool Run() override;

  CircularBufferBusT<Buffer> Input;  // selectable signals, numbered from 0
  Buffer Output;                     // the selected signal
  int32_t Control = 0;               // input to pass at the next firing
  int32_t BlockSize = 1;             // samples per firing; >= 1

 private:
  void ReportControlOutOfRange();
};

extern template class Mux<CircularBuffer<double>>;

}  // namespace OrvennModelBuilder
