// The [Model Selector] section: a name and the models it offers, one row
// each (model name, description), kept for the checks that run once the
// whole file is read (References.h).
#pragma once

struct PARSE_CONTEXT;

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

// Opens a new model selector of the file being checked.
void SEL_Begin(PARSE_CONTEXT& ctx);

// A keyword or data line of the model selector section.
void SEL_Line(PARSE_CONTEXT& ctx, int kind, const char* text);

// Closes the open selector.
void SEL_End(PARSE_CONTEXT& ctx);

// Releases a list of selectors; nulls *ppList.
void SEL_FreeAll(MODEL_SELECTOR** ppList);
