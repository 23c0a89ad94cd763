#pragma once

#include "dataflow/CircularBuffer.h"

#include <vector>

// Storage for block pins in tests: attaches a vector to a pin.
template <class T>
void AttachPin(OrvennModelBuilder::CircularBuffer<T>& pin, std::vector<T>& storage, uint32_t position = 0) {
  pin.data = storage.data();
  pin.capacity = uint32_t(storage.size());
  pin.position = position;
}
