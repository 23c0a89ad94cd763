// The [Model Selector] section: a name and the models it offers, one row
// each (model name, description), kept for the checks that run once the
// whole file is read (References.h).
#pragma once

#include "IbisParser/records/ModelSelector.h"

struct PARSE_CONTEXT;

#include <string>
#include <vector>

// Opens a new model selector of the file being checked.
void SEL_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the model selector section.
void SEL_Line(PARSE_CONTEXT& ctx, int kind, const char* text);

// Closes the open selector.
void SEL_End(PARSE_CONTEXT& ctx);
