#pragma once

#include <cstdint>

namespace OrvennModelBuilder {

class CircularBufferBase;

// A bus pin: a variable number of buffers (branches) owned by the bus.
class CircularBufferBus {
 public:
  CircularBufferBus() = default;
  CircularBufferBus(const CircularBufferBus&) = delete;
  CircularBufferBus& operator=(const CircularBufferBus&) = delete;

  // Sets the bus width; a new width discards every branch's settings.
  virtual void Resize(uint32_t n) = 0;
  virtual ~CircularBufferBus();
  // Branch i; callers keep i < the bus width.
  virtual CircularBufferBase* At(uint32_t i) = 0;
};

}  // namespace OrvennModelBuilder
