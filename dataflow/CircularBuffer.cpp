#include "dataflow/CircularBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace OrvennModelBuilder {

template <class T>
CircularBuffer<T>::CircularBuffer() {
  elementSize = int32_t(sizeof(T));
}

template <class T>
CircularBuffer<T>::~CircularBuffer() = default;

template <class T>
void CircularBuffer<T>::CopyTo(uint32_t srcOffset, CircularBufferBase& dst, uint32_t dstOffset, uint32_t n) {
  if (auto* typed = dynamic_cast<CircularBuffer*>(&dst)) CopyTo(srcOffset, *typed, dstOffset, n);
}

template <class T>
void CircularBuffer<T>::CopyTo(uint32_t srcOffset, CircularBuffer& dst, uint32_t dstOffset, uint32_t n) {
  if (n == 0 || data == nullptr || dst.data == nullptr || capacity == 0 || dst.capacity == 0) return;
  uint32_t s = Index(srcOffset);
  uint32_t d = dst.Index(dstOffset);
  if (n == 1) {
    dst.data[d] = data[s];
    return;
  }
  while (n > 0) {
    uint32_t chunk = std::min({n, capacity - s, dst.capacity - d});
    std::memmove(dst.data + d, data + s, size_t(chunk) * sizeof(T));
    s += chunk;
    if (s == capacity) s = 0;
    d += chunk;
    if (d == dst.capacity) d = 0;
    n -= chunk;
  }
}

template <class T>
void CircularBuffer<T>::CopyElements(const void* src, void* dst, int32_t n) {
  if (n > 0 && src != nullptr && dst != nullptr) std::memmove(dst, src, size_t(n) * sizeof(T));
}

template <class T>
bool CircularBuffer<T>::ZeroFill(uint32_t offset, uint32_t n, int32_t /*unused*/) {
  if (data == nullptr || capacity == 0) return true;
  uint32_t p = Index(offset);
  for (uint32_t i = 0; i < n; ++i) {
    data[p] = T();
    if (++p == capacity) p = 0;
  }
  return true;
}

template <class T>
void* CircularBuffer<T>::Allocate(uint32_t n) {
  // Requests beyond 4 GiB fail like an exhausted heap.
  if (uint64_t(n) * sizeof(T) > UINT32_MAX) throw std::bad_alloc();
  return new T[n];  // complex elements are zero, int and double are not
}

template <class T>
void CircularBuffer<T>::Free(void* p) {
  if (p != nullptr) {
    delete[] static_cast<T*>(p);
    return;
  }
  delete[] data;
  data = nullptr;
  position = 0;
  capacity = 0;
}

template class CircularBuffer<int>;
template class CircularBuffer<double>;
template class CircularBuffer<std::complex<double>>;

}  // namespace OrvennModelBuilder
