// An [External Model] or [External Circuit] block as read.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/base/LineWords.h"

struct EXTERNAL {
  EXTERNAL* next = nullptr;
  bool circuit = false;  // [External Circuit], else [External Model]
  std::string name;      // the circuit's name, or the enclosing model's
  unsigned long line = 0;
  std::string language;
  std::vector<NAME_AT> corners;  // "Typ file circuit" as given, corner name first
  std::vector<std::string> cornerFiles;
  std::vector<std::string> ports;
  int languageCount = 0, portsCount = 0;
  bool ended = false;  // its [End ...] keyword was read
};

// Releases a list of blocks; nulls *ppList.
void EXTREC_FreeAll(EXTERNAL** ppList);
