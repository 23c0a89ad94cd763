// The file header section: [IBIS Ver], [File Name], [File Rev], [Date],
// [Source], [Notes], [Disclaimer] and [Copyright]. Stores their values, checks
// the version string and the file name, joins multi-line texts, reports
// missing required keywords when the header ends, and sets the IBIS version
// number that chooses the keyword set.
#pragma once

#include "IbisParser/records/Header.h"

struct PARSE_CONTEXT;

#include <cstddef>

// Opens the header section of the file being checked: creates its record
// (1006 when memory runs out). Returns 1 or 0.
int HDR_Begin(PARSE_CONTEXT& ctx);

// A keyword line (kind 1) or data line (kind 4) of the header section.
void HDR_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Told the id of the keyword that follows: another [IBIS Ver] prints 1005,
// ids 2 to 8 keep the header open; any other closes it and reports the
// missing required keywords (1915). Returns 1 when the header closed.
int HDR_End(PARSE_CONTEXT& ctx, int nextId);
