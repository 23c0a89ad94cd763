// The Len, L, R and C sections of a package model's [Pin Numbers] and of a
// board's [Path Description]: a line is read into items (a word, an
// assignment «L=1.2n» however the blanks fall around '=', or the '/' that
// closes a section), and the open section keeps which subparameters it has
// been given. Shared by PackageModel and BoardDescription.
#pragma once

#include <string>
#include <vector>

struct RLC_ITEM {
  enum Kind { WORD, ASSIGN, SLASH } kind;
  std::string name;   // the word, or the name before '='
  std::string value;  // the value after '=' (ASSIGN only)
};

// The items of `text` in line order.
std::vector<RLC_ITEM> RLC_Items(const char* text);

// One section: Len, L, R and C given so far; open from its first
// subparameter to its '/'.
struct RLC_SECTION {
  bool open = false;
  bool given[4] = {};
  unsigned long line = 0;  // line of its first subparameter
};

// Adds the assignment `item` to `section`, opening it: the name is one of
// Len, L, R, C (5450), given once per section (5451), its value a number of
// zero or more (5452). `where` names the keyword in the messages.
void RLC_Assign(RLC_SECTION* section, const RLC_ITEM& item, const char* where);

// The '/' that closes `section`; a '/' with no subparameter before it is 5453.
// Returns 1 when a section was closed.
int RLC_Close(RLC_SECTION* section, const char* where);

// Reports an open section that a new item interrupts (5454) and forgets it.
void RLC_Interrupt(RLC_SECTION* section, const char* where);
