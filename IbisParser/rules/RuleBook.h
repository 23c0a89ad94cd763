// The rule book: every rule row of the checker (the component, model and
// file tables), looked up by code, their messages registered with the
// printer, and the page docs/CHECKS.md made from them (tessalune check
// --list-checks).
#pragma once

#include <string>

struct CHECK_RULE;

// The rows of all tables: the component checks, the model checks, the file,
// header, number and [Algorithmic Model] checks, then the relation checks.
int RULES_Count();
const CHECK_RULE& RULES_At(int i);

// The row of message `code`, or null.
const CHECK_RULE* RULES_Find(int code);

// The message of a row: its own, or for the memory faults the printer's
// catalogue text (amiparam/MsgCatalogue.cpp).
const char* RULES_Text(const CHECK_RULE& rule);

// The rows' messages, as the printer looks them up (MSG_SetTextLookup): the
// message of `code`, or null. Registered with the printer once, when the
// checker is loaded, so that MSG_Error and its siblings print the checker's
// codes too.
const char* RULES_TextOf(int code);

// One row of the page's tables.
std::string RULES_Row(const CHECK_RULE& rule);

// The text of docs/CHECKS.md.
std::string RULES_Page();

// The page's section of the model checks, and of the file, header, number
// and [Algorithmic Model] checks.
std::string RULES_ModelSection();
std::string RULES_FileSection();
// The page's section of the checks of what ties keywords and values to each other.
std::string RULES_RelationSection();
