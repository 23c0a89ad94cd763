// The checks that run on a file's records once the whole file is read, in
// their order: the names records give each other (pins to models and
// selectors), the package models, external circuits and interconnect sets
// components name, each [Algorithmic Model]'s named files and .ami text,
// the names models give each other, the models' data consistency, the
// [Test Data] references and the relations between values (Relations.h).
#pragma once

struct PARSE_CONTEXT;

// Runs every pass over the file just read (gParse).
void PASS_CheckFile(PARSE_CONTEXT& ctx);
