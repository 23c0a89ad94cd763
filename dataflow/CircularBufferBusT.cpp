#include "dataflow/CircularBufferBusT.h"

#include <new>

namespace OrvennModelBuilder {

template <class Buffer>
CircularBufferBusT<Buffer>::~CircularBufferBusT() {
  delete[] buffers;
}

template <class Buffer>
void CircularBufferBusT<Buffer>::Resize(uint32_t n) {
  if (n == count) return;
  delete[] buffers;
  buffers = nullptr;
  // The width is recorded only once the new branches exist, so a failed
  // allocation leaves an empty bus rather than a width without branches.
  count = 0;
  if (n == 0) return;
  // The array and its bookkeeping must fit in 32 bits.
  if (uint64_t(n) * sizeof(Buffer) + sizeof(uint64_t) > UINT32_MAX) throw std::bad_alloc();
  buffers = new Buffer[n];
  count = n;
}

template class CircularBufferBusT<CircularBuffer<int>>;
template class CircularBufferBusT<CircularBuffer<double>>;
template class CircularBufferBusT<CircularBuffer<std::complex<double>>>;

}  // namespace OrvennModelBuilder
