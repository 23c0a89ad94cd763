// The package, board, external and interconnect records of a checked file
// as JSON, for `tessalune check --json` (CheckReport): what the checker read,
// without matrix values (a matrix gives its form, bandwidth and rows).
#pragma once

#include <nlohmann/json.hpp>

struct COMPONENT;
struct PARSE_STATE;

// The names a component gives outside itself: package_model,
// alternate_package_models, node_declarations, circuit_calls,
// interconnect_model_groups.
nlohmann::json CheckComponentLinksJson(const COMPONENT& component);

// {"package_models": [...], "boards": [...], "external": [...],
//  "interconnect_model_sets": [...]} of `description`.
nlohmann::json CheckPackageRecordsJson(const PARSE_STATE& description);
