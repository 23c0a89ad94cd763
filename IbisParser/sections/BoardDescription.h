// The board description section of an .ebd file: [Begin Board Description]
// ... [End Board Description]. Keeps one record per board: its keywords,
// the [Pin List], each [Path Description] with the pins and nodes it
// reaches, and the [Reference Designator Map]. A path's sections and forks
// are checked as they are read and not kept: a fork costs one line number
// while it is open, so a path nested a million forks deep is read in a few
// megabytes and without recursion.
#pragma once

struct PARSE_CONTEXT;

#include <string>
#include <unordered_map>
#include <vector>

#include "IbisParser/base/LineWords.h"

struct EBD_PIN {
  std::string pin, signal;
  unsigned long line;
};

struct EBD_PATH {
  std::string name;
  unsigned long line = 0;      // line of [Path Description]
  std::vector<NAME_AT> pins;   // Pin items, the first one starts the path
  std::vector<NAME_AT> nodes;  // Node items (reference_designator.pin)
  long long sections = 0;      // Len/L/R/C sections
  long long forks = 0;         // Fork items
};

struct EBD_DESIGNATOR {
  std::string designator, file, component;
  unsigned long line;
};

struct BOARD {
  BOARD* next = nullptr;
  std::string name;
  unsigned long line = 0;  // line of [Begin Board Description]
  std::string manufacturer;
  long long numberOfPins = -1;
  unsigned long numberOfPinsLine = 0;
  int manufacturerCount = 0, numberOfPinsCount = 0, pinListCount = 0, mapCount = 0, endCount = 0;
  std::vector<EBD_PIN> pins;
  std::unordered_map<std::string, size_t> pinIndex;
  std::vector<EBD_PATH> paths;
  std::vector<EBD_DESIGNATOR> designators;
};

// Opens a new board of the file being checked.
void EBD_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the board section (keyword id `id`).
void EBD_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text);

// Closes the open board and checks it as a whole: its pins, the names its
// paths give, and the files and components its designators map to.
void EBD_End(PARSE_CONTEXT& ctx);

// Releases a list of boards; nulls *ppList.
void EBD_FreeAll(BOARD** ppList);
