// The models' and submodels' data of `tessalune check --json`: per model its
// type, subparameters, ranges and references, the summary of each I-V and
// V-T table (keyword, line, rows, fixture, first and last typ points),
// [Ramp], [Driver Schedule] and [Add Submodel]; read from the records the
// checker built (IbisParser/records/ModelData.h).
#pragma once

#include <nlohmann/json.hpp>

struct MODEL;
struct SUBMODEL;

nlohmann::json ModelJson(const MODEL& model);
nlohmann::json SubmodelJson(const SUBMODEL& submodel);
