#include "dataflow/DFModel.h"

namespace OrvennModelBuilder {

bool DFModel::Setup() { return true; }
bool DFModel::Initialize() { return true; }
bool DFModel::Run() { return true; }
bool DFModel::Finalize() { return true; }
bool DFModel::CheckParameters() { return true; }
DFModel::~DFModel() = default;

}  // namespace OrvennModelBuilder
