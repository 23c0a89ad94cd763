// The checks of the file itself as rows (id, severity, rule, version and
// section): line and keyword rules, the file header, [Package], numbers and
// typ/min/max columns, [Algorithmic Model] and its .ami files. The third part
// of docs/CHECKS.md (CHECK_RulesPage); with the component and model rows,
// every message the checker prints is a row, its severity written only here.
#pragma once

#include <string>

#include "IbisParser/rules/CheckRules.h"
#include "IbisParser/rules/ModelCheckRules.h"

extern const CHECK_RULE gaFileCheckRules[];
extern const int giFileCheckRuleCount;

// The file section of docs/CHECKS.md: heading and the table.
std::string CHECK_FileRulesSection();

// The row of message `code` in any of the three tables, or null.
const CHECK_RULE* CHECK_FindRule(int code);
