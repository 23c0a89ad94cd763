#pragma once

#include "dataflow/CircularBuffer.h"

#include <vector>

// Storage for block pins in tests: attaches a vector to a pin, keeping the
// block size the block's Setup gave the pin.
template <class T>
void AttachPin(OrvennModelBuilder::CircularBuffer<T>& pin, std::vector<T>& storage, uint32_t position = 0) {
  pin.Attach(storage.data(), uint32_t(storage.size()), pin.blockSize, position);
}
