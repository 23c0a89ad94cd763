#include "blocks/TypeConverterBase.h"

namespace OrvennModelBuilder {

TypeConverterBase::~TypeConverterBase() = default;

}  // namespace OrvennModelBuilder
