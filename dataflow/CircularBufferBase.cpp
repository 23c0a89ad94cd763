#include "dataflow/CircularBufferBase.h"

namespace OrvennModelBuilder {

CircularBufferBase::~CircularBufferBase() = default;

}  // namespace OrvennModelBuilder
