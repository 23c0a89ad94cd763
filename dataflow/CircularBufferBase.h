#pragma once

#include <cstdint>

namespace OrvennModelBuilder {

// Abstract ring-buffer view used for block pins and filter histories.
//
// The window fields live here; the typed storage fields (`data`,
// `capacity`, `connected`) follow them in CircularBuffer<T>, which knows the
// element type. Element storage is never owned by the view.
class CircularBufferBase {
 public:
  CircularBufferBase() = default;
  CircularBufferBase(const CircularBufferBase&) = default;
  CircularBufferBase& operator=(const CircularBufferBase&) = default;
  virtual ~CircularBufferBase();

  // Copies n elements from offset srcOffset of this buffer to offset
  // dstOffset of dst, which must be a buffer of the same element type
  // (a buffer of another type receives nothing).
  virtual void CopyTo(uint32_t srcOffset, CircularBufferBase& dst, uint32_t dstOffset, uint32_t n) = 0;
  // Raw copy of n elements without wrap-around; n <= 0 copies nothing.
  virtual void CopyElements(const void* src, void* dst, int32_t n) = 0;
  // Clears the elements at offsets offset .. offset + n - 1. Always true.
  virtual bool ZeroFill(uint32_t offset, uint32_t n, int32_t unused) = 0;
  // A new array of n elements (released with Free).
  virtual void* Allocate(uint32_t n) = 0;
  // Releases p; with p null, releases this buffer's own storage.
  virtual void Free(void* p) = 0;

  uint32_t blockSize = 1;     // elements one firing moves through this pin
  uint32_t maxBlockSize = 1;  // largest block size ever requested
  bool reserved = false;      // not consulted by any operation
  int32_t elementSize = 0;    // bytes per element, set by CircularBuffer<T>
  uint32_t position = 0;      // storage index of the current element
};

}  // namespace OrvennModelBuilder
