#include "blocks/TypeConverter.h"

namespace OrvennModelBuilder {

template class TypeConverter<CircularBuffer<double>, CircularBuffer<int>, TypeConverterRound>;

}  // namespace OrvennModelBuilder
