// The rule book: every rule row of the checker (the component, model and
// file tables), looked up by code, and the page docs/CHECKS.md made from
// them (tessalune check --list-checks).
#pragma once

#include <string>

struct CHECK_RULE;

// The rows of all tables: the component checks, the model checks, the file,
// header, number and [Algorithmic Model] checks, then the relation checks.
int RULES_Count();
const CHECK_RULE& RULES_At(int i);

// The row of message `code`, or null.
const CHECK_RULE* RULES_Find(int code);

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
