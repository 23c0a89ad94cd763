#include "dataflow/CircularBufferBus.h"

namespace OrvennModelBuilder {

CircularBufferBus::~CircularBufferBus() = default;

}  // namespace OrvennModelBuilder
