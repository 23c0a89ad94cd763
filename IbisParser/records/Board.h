// A board description as read: pins, paths and reference designators.
#pragma once

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

// Releases a list of boards; nulls *ppList.
void EBDREC_FreeAll(BOARD** ppList);
