#include "blocks/Add.h"

namespace OrvennModelBuilder {

template <class T>
bool Add<T>::Run() {
  // The running sum lives in the output element, as the network reads it.
  T& out = Output.data[Output.position];
  out = T(0.0);
  for (uint32_t i = 0; i < Input.count; ++i) {
    const CircularBuffer<T>& in = Input.buffers[i];
    out = in.data[in.position] + out;
  }
  return true;
}

template class Add<double>;

}  // namespace OrvennModelBuilder
