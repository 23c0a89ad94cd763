// The checks that need the whole file: the names one record gives to
// another. Pins name models or model selectors (or a reserved word), series
// pin mappings name series models, model selectors name models.
#pragma once

struct PARSE_CONTEXT;

// Runs the checks over the description of the file just read (gParse);
// each finding names the line of the record that holds the name.
void REF_CheckFile(PARSE_CONTEXT& ctx);

// 1 when `name` is a word the [Pin] table may give in place of a model
// in the file's version: POWER, GND, NC (2.1 on), CIRCUITCALL (4.2 on).
int REF_IsReservedModelName(PARSE_CONTEXT& ctx, const char* name);
