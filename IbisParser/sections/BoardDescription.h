// The board description section of an .ebd file: [Begin Board Description]
// ... [End Board Description]. Keeps one record per board: its keywords,
// the [Pin List], each [Path Description] with the pins and nodes it
// reaches, and the [Reference Designator Map]. A path's sections and forks
// are checked as they are read and not kept: a fork costs one line number
// while it is open, so a path nested a million forks deep is read in a few
// megabytes and without recursion.
#pragma once

#include "IbisParser/records/Board.h"

struct PARSE_CONTEXT;

#include <string>
#include <unordered_map>
#include <vector>

#include "IbisParser/base/LineWords.h"

// Opens a new board of the file being checked.
void EBD_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the board section (keyword id `id`).
void EBD_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Closes the open board and checks it as a whole: its pins, the names its
// paths give, and the files and components its designators map to.
void EBD_End(PARSE_CONTEXT& ctx);
