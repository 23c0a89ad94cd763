#include "blocks/ConstUnTimed.h"

namespace OrvennModelBuilder {

template <class T>
ConstUnTimed<T>::ConstUnTimed() {
  this->Value = T(0.0);
}

template <class T>
void ConstUnTimed<T>::WriteDelayToken() {
  this->Output.data[this->Output.position] = T(0.0);
}

template class ConstUnTimed<double>;

}  // namespace OrvennModelBuilder
