#pragma once

#include "dataflow/DFModel.h"

namespace OrvennModelBuilder {

// Common base of the type converters; behaves as a plain DFModel.
class TypeConverterBase : public DFModel {
 public:
  ~TypeConverterBase() override;
};

}  // namespace OrvennModelBuilder
