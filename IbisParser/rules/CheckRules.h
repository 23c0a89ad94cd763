// The checks of the component section as rows: message id, severity, the
// rule in a few words, and the version and section of the standard that
// states it. docs/CHECKS.md is this table with the catalogue's texts
// (RULES_Page, rules/RuleBook.h); a test fails when the page and the rows differ.
#pragma once

#include <string>

struct CHECK_RULE {
  int code;              // catalogue row (amiparam/MsgCatalogue.cpp)
  const char* severity;  // ERROR for a "must" or "required", WARNING for a "should", NOTE for advice;
                         // PROGRAM BUG for a fault of the checker itself
  const char* rule;      // the standard's rule in a few words
  const char* source;    // version and section, e.g. "2.1 §5 [Pin]"
  // A short file that breaks the rule, checked as "t.ibs"; "$H" stands for
  // a 4.2 header naming t.ibs. Null where no example is written yet.
  const char* example = nullptr;
};

extern const CHECK_RULE gaCheckRules[];
extern const int giCheckRuleCount;
