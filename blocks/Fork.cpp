#include "blocks/Fork.h"

namespace OrvennModelBuilder {

template <class Buffer>
bool Fork<Buffer>::Run() {
  const auto value = Input.data[Input.position];
  for (uint32_t i = 0; i < Output.count; ++i) {
    Buffer& out = Output.buffers[i];
    out.data[out.position] = value;
  }
  return true;
}

template class Fork<CircularBuffer<int>>;
template class Fork<CircularBuffer<double>>;

}  // namespace OrvennModelBuilder
