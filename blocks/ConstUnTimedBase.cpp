#include "blocks/ConstUnTimedBase.h"

#include "dataflow/ReportError.h"

namespace OrvennModelBuilder {

template <class T, class Buffer>
bool ConstUnTimedBase<T, Buffer>::Initialize() {
  firingCount = 0;
  return CheckParameters();
}

template <class T, class Buffer>
bool ConstUnTimedBase<T, Buffer>::CheckParameters() {
  if (InitialDelay < 0) {
    ReportError(this, "InitialDelay must be >= 0");
    return false;
  }
  return true;
}

template <class T, class Buffer>
bool ConstUnTimedBase<T, Buffer>::Run() {
  if (firingCount < uint32_t(InitialDelay))
    WriteDelayToken();
  else
    Output.data[Output.position] = Value;
  ++firingCount;
  return true;
}

template class ConstUnTimedBase<double, CircularBuffer<double>>;

}  // namespace OrvennModelBuilder
