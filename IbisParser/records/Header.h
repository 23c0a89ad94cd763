// The file header as read: version, file name, revision, date and the texts.
#pragma once

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

// Releases a header record and its texts; nulls *ppHeader.
void HDRREC_Free(HDR** ppHeader);
