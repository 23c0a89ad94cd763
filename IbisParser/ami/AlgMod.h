// [Algorithmic Model] blocks of an IBIS model and the .ami parameter files
// they name: one record per accepted Executable line, kept per model in a
// list, newest first. After the whole IBIS file has been read the named files
// are looked up next to it, and every .ami file is read, parsed and checked.
#pragma once

#include "IbisParser/records/AlgModel.h"

struct PARSE_CONTEXT;

// What the checker hands over for each IBIS model after the whole file.
struct ALGMOD_MODEL {
  const char* name;  // model name for the messages
  ALGMODLIST* list;  // the model's list head, null without [Algorithmic Model]
};

// The [Algorithmic Model] keyword line: starts (or replaces) the model's list.
void ALGMOD_BeginBlock(PARSE_CONTEXT& ctx, const char* line, ALGMODLIST** head);

// One data line of the block, comment already cut; gulLineNumber is its number.
void ALGMOD_AddLine(PARSE_CONTEXT& ctx, const char* line, ALGMODLIST* head);

// [End Algorithmic Model]: bit widths and duplicate platform/compiler/bits.
void ALGMOD_EndBlock(PARSE_CONTEXT& ctx, const ALGMODLIST* head);

// After the whole IBIS file: checks the named files of every model in the
// directory `ibisDir` (the IBIS file's directory, empty for the current one),
// reads, parses and checks each .ami file and keeps its tree in the record.
void ALGMOD_CheckFiles(PARSE_CONTEXT& ctx, const ALGMOD_MODEL* models, int count, const char* ibisDir);

// Checks one .ami file on its own: reads it in the .ami mode of the per-file
// check, parses and checks it, and releases the tree. Returns 1 when the file
// was read to its end.
int ALGMOD_CheckAmiFile(const char* path);

// Parses gpszAmiText (collected by AMIREAD_ReadFile), checks
// the tree and returns it, or null when the text was empty or did not parse.
// The text is released in every case.
AMITREE* ALGMOD_ParseAmiText(PARSE_CONTEXT& ctx);

// Releases gpszAmiText if it holds anything.
void ALGMOD_ReleaseAmiText(PARSE_CONTEXT& ctx);
