// A model selector as read: its entries.
#pragma once

#include <string>
#include <vector>

struct SELECTOR_ENTRY {
  std::string model, description;
  unsigned long line;
};

struct MODEL_SELECTOR {
  MODEL_SELECTOR* next = nullptr;
  std::string name;
  unsigned long line = 0;
  std::vector<SELECTOR_ENTRY> entries;
};

// Releases a list of selectors; nulls *ppList.
void SELREC_FreeAll(MODEL_SELECTOR** ppList);
