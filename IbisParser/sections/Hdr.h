// The file header section: [IBIS Ver], [File Name], [File Rev], [Date],
// [Source], [Notes], [Disclaimer] and [Copyright]. Stores their values, checks
// the version string and the file name, joins multi-line texts, reports
// missing required keywords when the header ends, and sets the IBIS version
// number that chooses the keyword set.
#pragma once

struct PARSE_CONTEXT;

#include <cstddef>

constexpr size_t HDR_VERSION_MAX = 70;
constexpr size_t HDR_FILE_NAME_MAX = 1024;
constexpr size_t HDR_FILE_REV_MAX = 70;
constexpr size_t HDR_DATE_MAX = 40;

// Seen flags of the header keywords.
enum {
  HDR_SEEN_IBIS_VERSION = 0,
  HDR_SEEN_FILE_NAME,
  HDR_SEEN_FILE_REV,
  HDR_SEEN_DATE,
  HDR_SEEN_SOURCE,
  HDR_SEEN_NOTES,
  HDR_SEEN_DISCLAIMER,
  HDR_SEEN_COPYRIGHT,
  HDR_SEEN_COUNT,
};

// The file header of one file.
struct HDR {
  HDR* next;
  char ibisVersion[HDR_VERSION_MAX + 1];
  char fileName[HDR_FILE_NAME_MAX + 1];
  char fileRev[HDR_FILE_REV_MAX + 1];
  char date[HDR_DATE_MAX + 1];
  char* source;  // multi-line texts, lines joined by '\n'; null until given
  char* notes;
  char* disclaimer;
  char* copyright;
  // Length and capacity of each multi-line text (source, notes, disclaimer,
  // copyright in this order), so that appending a line copies only the line.
  size_t textLength[4];
  size_t textCapacity[4];
  int seen[HDR_SEEN_COUNT];
  int lastKeyword;  // latest header keyword id; routes the data lines
};

// Opens the header section of the file being checked: creates its record
// (1006 when memory runs out). Returns 1 or 0.
int HDR_Begin(PARSE_CONTEXT& ctx);

// A keyword line (kind 1) or data line (kind 4) of the header section.
void HDR_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Told the id of the keyword that follows: another [IBIS Ver] prints 1005,
// ids 2 to 8 keep the header open; any other closes it and reports the
// missing required keywords (1915). Returns 1 when the header closed.
int HDR_End(PARSE_CONTEXT& ctx, int nextId);

// Releases a header record and its texts; nulls *ppHeader.
void HDR_Free(HDR** ppHeader);
