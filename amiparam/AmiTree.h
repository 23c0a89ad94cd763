// Parse tree of an AMI parameter string, such as
//   (tessalune_tx (emphasis 0.5) (Vreg 2) (corner 1))
// A list holding a name and further lists is a branch; a list holding a name
// and values is a leaf. Every text in the tree is its own heap copy; all
// memory comes from CMN_Alloc and is released by AMITREE_Free.
#pragma once

#include <cstdint>

#include "amiparam/AmiValue.h"

// AMINODE kinds.
enum {
  AMINODE_BRANCH = 0,
  AMINODE_LEAF = 1,
};

// AMITREE_Parse results.
enum {
  AMITREE_OK = 0,
  AMITREE_UNBALANCED = 1,      // "(" and ")" outside double quotes do not balance
  AMITREE_NO_LIST = 2,         // the text does not start with "(" (or is blank)
  AMITREE_NO_ROOT = 3,         // null argument, first list is a leaf, or no list survives
  AMITREE_NO_MEMORY = 4,       // memory exhausted
  AMITREE_NO_PARENT = 5,       // a list without an enclosing list of a lower level
  AMITREE_UNOPENED_CLOSE = 6,  // ")" where no list is open deeply enough, e.g. "(a)"
  AMITREE_TOO_MANY_LISTS = 7,  // more lists recognised than "(" counted (stray text)
  AMITREE_NAME_ONLY = 8,       // a list holding only a name and whitespace
};

struct AMIVALUE {
  char* text;       // the element as written, without surrounding quotes
  int32_t kind;     // AMIVALUE_EMPTY, _STRING, _INTEGER, _BOOLEAN, _FLOAT
  int32_t keyword;  // AMIVALUE_Keyword code of a string value, else -1
};

struct AMILEAF {
  char* name;           // the list's first element
  AMIVALUE* values;     // the remaining elements, in text order
  int32_t value_count;  // entries in values
  int32_t property;     // AMIVALUE_Property code of name
};

struct AMINODE {
  int32_t kind;   // AMINODE_BRANCH or AMINODE_LEAF
  int32_t level;  // nesting level: 1 for the root, 2 for its children, ...
  void* body;     // AMIBRANCH or AMILEAF; null: no list
};

struct AMIBRANCH {
  char* name;           // the list's first element
  AMINODE* children;    // copies of the lists directly inside, in text order
  int32_t child_count;  // entries in children
};

struct AMITREE {
  AMINODE* nodes;  // one record per list, in order of the "("; nodes[0] is the root
  int32_t slots;   // entries in nodes: the "(" outside double quotes
};

// Parses `text` (never modified). On result AMITREE_OK stores a new tree in
// *tree_out, which the caller releases with AMITREE_Free; on any other result
// *tree_out is left as it was and nothing is kept. Faults in the text are
// reported through the result only; exhausted memory is also printed (1906).
int32_t AMITREE_Parse(const char* text, AMITREE** tree_out);

// Releases a tree from AMITREE_Parse and nulls the pointer. Null address or
// null pointer: nothing to do.
void AMITREE_Free(AMITREE** tree);
