#pragma once

#include <string>

namespace OrvennModelBuilder {

class DFModel;

// Writes `text` and one end of line to the standard error stream and
// flushes it. `block` names the caller and is not printed: the line carries
// no prefix, block name or time.
void ReportError(const DFModel* block, const std::string& text);

}  // namespace OrvennModelBuilder
