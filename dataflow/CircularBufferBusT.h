#pragma once

#include "dataflow/CircularBuffer.h"
#include "dataflow/CircularBufferBus.h"

#include <complex>
#include <cstdint>

namespace OrvennModelBuilder {

// Bus of typed buffers, provided for CircularBuffer<int>, CircularBuffer<double>
// and CircularBuffer<std::complex<double>>. The bus owns its array of buffer
// objects, never the element storage they point at.
template <class Buffer>
class CircularBufferBusT : public CircularBufferBus {
 public:
  CircularBufferBusT() = default;
  ~CircularBufferBusT() override;

  // Same width: nothing changes. Otherwise the old branches are destroyed
  // and n default branches are created.
  void Resize(uint32_t n) override;
  Buffer* At(uint32_t i) override { return buffers + i; }

  uint32_t count = 0;         // bus width
  Buffer* buffers = nullptr;  // count branches, owned
};

extern template class CircularBufferBusT<CircularBuffer<int>>;
extern template class CircularBufferBusT<CircularBuffer<double>>;
extern template class CircularBufferBusT<CircularBuffer<std::complex<double>>>;

}  // namespace OrvennModelBuilder
