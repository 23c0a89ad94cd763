// The checks of the component section as rows: message id, severity, the
// rule in a few words, and the version and section of the standard that
// states it. docs/CHECKS.md is this table with the catalogue's texts
// (CHECK_RulesPage); a test fails when the page and the rows differ.
#pragma once

#include <string>

struct CHECK_RULE {
  int code;              // catalogue row (amiparam/MsgCatalogue.cpp)
  const char* severity;  // ERROR for a "must" or "required", WARNING for a "should", NOTE for advice;
                         // PROGRAM BUG for a fault of the checker itself
  const char* rule;      // the standard's rule in a few words
  const char* source;    // version and section, e.g. "2.1 §5 [Pin]"
};

extern const CHECK_RULE gaCheckRules[];
extern const int giCheckRuleCount;

// The text of docs/CHECKS.md.
std::string CHECK_RulesPage();

// One row of the page's tables for rule `rule`.
std::string CHECK_RuleRow(const CHECK_RULE& rule);
