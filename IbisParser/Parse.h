// The per-file check of the IBIS file checker: reads an .ibs, .pkg or .ebd
// file line by line, enforces the line rules, recognises keywords against
// the keyword set of the file's IBIS version and hands every line to the
// handler of the section it belongs to.
#pragma once

#include "IbisParser/base/ParseContext.h"

// Checks the file `path` of kind `mode`. Returns 1 when the file was read to
// its end, 0 when it could not be opened or its version was not recognised.
int PARSE_CheckFile(const char* path, int mode);

// The same on `ctx`, a new context the caller may have set switches on
// (PARSE_CONTEXT::hdrForceVersion5 ...) and may look at afterwards: the
// version the file was checked for stays, its records are released.
int PARSE_CheckFileOn(PARSE_CONTEXT& ctx, const char* path, int mode);

// Called with the description of each file checked at the outermost level
// (not the files named inside it), once the whole file is read and checked
// and before the description is released; null by default. For callers
// that show the description (tessalune check --json).
using PARSE_DESCRIPTION_LISTENER = void (*)(const PARSE_CONTEXT& description, void* context);
void PARSE_SetDescriptionListener(PARSE_DESCRIPTION_LISTENER listener, void* context);

// Recognises the keyword of `line` in keyword set `set` (KEY_SET_*), with the
// context rules that depend on the previous keyword `previous`. Returns 1 and
// stores the id in *id, or 0 after printing 914, 915 or 916.
int PARSE_Keyword(PARSE_CONTEXT& ctx, const char* line, int previous, int set, int* id);
