// The model section: [Model] and the keywords that describe a buffer model.
// Keeps one record per [Model]; the lines of an [Algorithmic Model] ...
// [End Algorithmic Model] block go to the block checks (ALGMOD_*) in one
// place (MODEL_AlgorithmicModelLine), and once the whole file is read the
// named .ami and code files of every model are checked (PASS_CheckFile).
// Other lines are accepted.
#pragma once

#include "IbisParser/records/Model.h"

struct PARSE_CONTEXT;

struct ALGMODLIST;
struct MODEL_DATA;

// Opens a new model of the file being checked.
void MODEL_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the model section (keyword id `id`).
void MODEL_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Every line of an [Algorithmic Model] block, from its keyword to
// [End Algorithmic Model], in file order (gulLineNumber is its line).
void MODEL_AlgorithmicModelLine(PARSE_CONTEXT& ctx, MODEL* model, int kind, int id, const char* text);

// Told the id of the keyword that follows; closes the model unless that
// keyword belongs to it. Returns 1 when the model closed.
int MODEL_End(PARSE_CONTEXT& ctx, int nextId);
