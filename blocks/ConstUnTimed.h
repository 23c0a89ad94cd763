#pragma once

#include "blocks/ConstUnTimedBase.h"

namespace OrvennModelBuilder {

// Constant source whose delay token is zero. Provided for T = double.
template <class T>
class ConstUnTimed : public ConstUnTimedBase<T, CircularBuffer<T>> {
 public:
  ConstUnTimed();
  void WriteDelayToken() override;
};

extern template class ConstUnTimed<double>;

}  // namespace OrvennModelBuilder
