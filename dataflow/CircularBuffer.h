#pragma once

#include "dataflow/CircularBufferBase.h"

#include <complex>
#include <cstdint>

namespace OrvennModelBuilder {

// Typed ring-buffer view over element storage it does not own.
// Provided for T = int, double and std::complex<double>.
//
// The element at offset k from the position sits at storage index
// position + k, reduced by one capacity if that reaches the capacity.
// Callers keep k < capacity; the bulk operations (CopyTo, ZeroFill) stay
// inside the storage even when they do not.
//
// Storage handed to a buffer that may later release it (Free(nullptr))
// must come from Allocate or new T[].
template <class T>
class CircularBuffer : public CircularBufferBase {
 public:
  using ElementType = T;

  CircularBuffer();
  CircularBuffer(const CircularBuffer&) = default;
  CircularBuffer& operator=(const CircularBuffer&) = default;
  ~CircularBuffer() override;

  void CopyTo(uint32_t srcOffset, CircularBufferBase& dst, uint32_t dstOffset, uint32_t n) override;
  // Statically typed form used by blocks and networks (no type check).
  void CopyTo(uint32_t srcOffset, CircularBuffer& dst, uint32_t dstOffset, uint32_t n);
  void CopyElements(const void* src, void* dst, int32_t n) override;
  bool ZeroFill(uint32_t offset, uint32_t n, int32_t unused) override;
  void* Allocate(uint32_t n) override;
  void Free(void* p) override;

  // block size := n; the maximum block size never goes down.
  void SetBlockSize(uint32_t n) {
    blockSize = n;
    if (maxBlockSize < n) maxBlockSize = n;
  }

  // Attaches `storage` of `elements` elements in one step: the window moves
  // `block` elements per firing (the maximum block size rises to it, as with
  // SetBlockSize, and never falls) and starts at storage index `start`. The
  // buffer does not own the storage. Whatever is passed, the view stays
  // usable: null storage or 0 elements leaves it without storage (null,
  // capacity 0, position 0), and a start at or beyond the capacity is
  // reduced modulo the capacity.
  void Attach(T* storage, uint32_t elements, uint32_t block, uint32_t start) {
    const bool usable = storage != nullptr && elements != 0;
    data = usable ? storage : nullptr;
    capacity = usable ? elements : 0;
    position = usable ? start % elements : 0;
    SetBlockSize(block);
  }

  // Moves the window on by one block.
  void Advance() {
    if (blockSize != 0) position = Index(blockSize);
  }

  T* ElementAt(uint32_t offset) { return data + Index(offset); }
  const T* ElementAt(uint32_t offset) const { return data + Index(offset); }

  // Storage index of the element at `offset` from the position: one
  // subtraction of the capacity. An offset outside the contract (at or
  // beyond the capacity) is reduced further so the index stays inside.
  uint32_t Index(uint32_t offset) const {
    uint64_t p = uint64_t(position) + offset;
    if (p >= capacity) {
      p -= capacity;
      if (p >= capacity) p = capacity == 0 ? 0 : p % capacity;
    }
    return uint32_t(p);
  }

  T* GetData() const { return data; }
  uint32_t GetCapacity() const { return capacity; }
  uint32_t GetBlockSize() const { return blockSize; }
  uint32_t GetMaxBlockSize() const { return maxBlockSize; }
  bool IsConnected() const { return connected; }

  T* data = nullptr;      // first element of the storage
  uint32_t capacity = 0;  // elements in the storage
  bool connected = true;  // cleared by the owner for an unconnected pin
};

extern template class CircularBuffer<int>;
extern template class CircularBuffer<double>;
extern template class CircularBuffer<std::complex<double>>;

}  // namespace OrvennModelBuilder
