// [External Model] (inside a [Model]) and [External Circuit] blocks (4.1
// on): the language, the corner files, the ports, each subparameter with
// its line. The files named are looked for beside the checked file once the
// block ends; the ports a [Circuit Call] maps are checked once the file is
// read (ComponentLinks.h).
#pragma once

#include "IbisParser/records/External.h"

struct PARSE_CONTEXT;

#include <string>
#include <vector>

#include "IbisParser/base/LineWords.h"

// Keyword or data line of an [External Model] block inside the model
// `model` (ids KEY_EXTERNAL_MODEL and KEY_END_EXTERNAL_MODEL).
void EXT_ModelLine(PARSE_CONTEXT& ctx, const char* model, int kind, int id, const char* text);

// The [External Circuit] section: begin, lines, end.
void EXT_CircuitBegin(PARSE_CONTEXT& ctx);
void EXT_CircuitLine(PARSE_CONTEXT& ctx, int kind, int id, const char* text);
void EXT_CircuitEnd(PARSE_CONTEXT& ctx);

// Closes an [External Model] block left open when its model ends.
void EXT_ModelEnd(PARSE_CONTEXT& ctx);

// The [External Circuit] `name` of the list, or null.
const EXTERNAL* EXT_FindCircuit(const EXTERNAL* list, const std::string& name);
