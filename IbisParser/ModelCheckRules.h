// The checks of the model section as rows (id, severity, rule, version and
// section), the second part of docs/CHECKS.md (CHECK_RulesPage), with the
// tolerances of the consistency warnings.
#pragma once

#include <string>

#include "IbisParser/CheckRules.h"

extern const CHECK_RULE gaModelCheckRules[];
extern const int giModelCheckRuleCount;

// The model section of docs/CHECKS.md: heading, tolerances and the table.
std::string CHECK_ModelRulesSection();
