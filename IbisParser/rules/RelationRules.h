// The checks of what ties keywords and values to each other (ids 5700 on):
// thresholds and capacitances of a model, the pins a differential pair
// joins, the values an .ami parameter's format allows its Default. The
// fourth part of docs/CHECKS.md (RULES_Page, rules/RuleBook.h).
#pragma once

#include "IbisParser/rules/CheckRules.h"

extern const CHECK_RULE gaRelationRules[];
extern const int giRelationRuleCount;
