// The [Submodel] section: its name, Submodel_type and the tables and
// [Ramp] it holds, read into a SUBMODEL record (ModelData.h) with the same
// readers as a model's; the names are checked against [Add Submodel] once
// the file is read (ModelReferences). IBIS 3.2 §6a.
#pragma once

struct PARSE_CONTEXT;

struct SUBMODEL;

// Opens a new submodel of the file being checked.
void SUBM_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the submodel section (keyword id `id`).
void SUBM_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Closes the open submodel: Submodel_type given and known (5244, 5243), its tables checked.
void SUBM_End(PARSE_CONTEXT& ctx);
