// An interconnect model set as read, with its models.
#pragma once

#include <string>
#include <vector>

#include "IbisParser/base/LineWords.h"

struct INTERCONNECT_MODEL {
  std::string name;
  unsigned long line = 0;
  std::string fileKind, file;  // File_TS or File_IBIS-ISS and its file
  int fileCount = 0;           // File_TS and File_IBIS-ISS lines
  long long terminals = -1;    // Number_of_terminals, -1 until given
  long long terminalLines = 0;
  bool ended = false;
};

struct INTERCONNECT_SET {
  INTERCONNECT_SET* next = nullptr;
  std::string name;
  unsigned long line = 0;
  std::vector<INTERCONNECT_MODEL> models;
  bool ended = false;
};

// Releases a list of sets; nulls *ppList.
void ICMREC_FreeAll(INTERCONNECT_SET** ppList);
