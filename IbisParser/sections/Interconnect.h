// The interconnect model sets of IBIS 7.0 on: [Interconnect Model Set] ...
// [End Interconnect Model Set], holding [Interconnect Model] ...
// [End Interconnect Model] blocks with their data file (File_TS or
// File_IBIS-ISS), their number of terminals and the terminal lines.
#pragma once

#include "IbisParser/records/Interconnect.h"

struct PARSE_CONTEXT;

#include <string>
#include <vector>

#include "IbisParser/base/LineWords.h"

// The interconnect section: begin, lines, end.
void ICM_Begin(PARSE_CONTEXT& ctx);
void ICM_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);
void ICM_End(PARSE_CONTEXT& ctx);

// The set `name` of the list, or null.
const INTERCONNECT_SET* ICM_FindSet(const INTERCONNECT_SET* list, const std::string& name);
