// The checks of the model section as rows (id, severity, message, rule, version and
// section), the second part of docs/CHECKS.md (RULES_Page, rules/RuleBook.h), with the
// tolerances of the consistency warnings.
#pragma once

#include <string>

#include "IbisParser/rules/CheckRules.h"

extern const CHECK_RULE gaModelCheckRules[];
extern const int giModelCheckRuleCount;

// Tolerances of the checks (docs/CHECKS.md explains them).
constexpr double MODCONS_LEVEL_TOLERANCE = 0.05;      // of the supply or the level, whichever is larger; at least 20 mV
constexpr double MODCONS_LEVEL_FLOOR = 0.02;          // volts
constexpr double MODCONS_RAMP_TOLERANCE = 0.25;       // relative difference of the slopes
constexpr double MODCONS_MONOTONIC_TOLERANCE = 0.10;  // of the column's largest current
