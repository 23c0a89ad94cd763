#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

#include <cstdint>

namespace OrvennModelBuilder {

// Constant source: InitialDelay delay tokens, then Value at every firing.
// Provided for <double, CircularBuffer<double>>.
template <class T, class Buffer>
class ConstUnTimedBase : public DFModel {
 public:
  bool Initialize() override;
  bool Run() override;
  bool CheckParameters() override;
  // Writes the token emitted during the initial delay.
  virtual void WriteDelayToken() = 0;

  Buffer Output;             // the constant signal
  T Value{};                 // the constant, read at every firing
  int32_t InitialDelay = 0;  // leading firings that emit the delay token; >= 0
  uint32_t firingCount = 0;  // firings since Initialize
};

extern template class ConstUnTimedBase<double, CircularBuffer<double>>;

}  // namespace OrvennModelBuilder
