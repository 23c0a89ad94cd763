// The checks of the file itself as rows (id, severity, message, rule, version and
// section): line and keyword rules, the file header, [Package], numbers and
// typ/min/max columns, [Algorithmic Model] and its .ami files. The third part
// of docs/CHECKS.md (RULES_Page, rules/RuleBook.h); with the component and model rows,
// every message the checker prints is a row, its severity written only here.
#pragma once

#include <string>

#include "IbisParser/rules/CheckRules.h"
#include "IbisParser/rules/ModelCheckRules.h"

extern const CHECK_RULE gaFileCheckRules[];
extern const int giFileCheckRuleCount;
