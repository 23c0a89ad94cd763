#include "blocks/ScalarToScalar.h"

namespace OrvennModelBuilder {

template <class InBuffer, class OutBuffer, class Policy>
bool ScalarToScalar<InBuffer, OutBuffer, Policy>::Run() {
  auto& in = this->Input;
  auto& out = this->Output;
  Policy::Convert(in.data[in.position], out.data[out.position]);
  return true;
}

template class ScalarToScalar<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>;

}  // namespace OrvennModelBuilder
