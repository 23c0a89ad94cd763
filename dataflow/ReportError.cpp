#include "dataflow/ReportError.h"

#include <iostream>

namespace OrvennModelBuilder {

void ReportError(const DFModel* /*block*/, const std::string& text) { std::cerr << text << std::endl; }

}  // namespace OrvennModelBuilder
