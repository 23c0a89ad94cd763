// The checks of the component section as rows: message id, severity, the
// message, the rule in a few words, and the version and section of the
// standard that states it. docs/CHECKS.md is made of the rows (RULES_Page,
// rules/RuleBook.h); a test fails when the page and the rows differ.
#pragma once

#include <string>

struct CHECK_RULE {
  int code;              // message number (CHECK_Report prints the row by it)
  const char* severity;  // ERROR for a "must" or "required", WARNING for a "should", NOTE for advice;
                         // PROGRAM BUG for a fault of the checker itself
  // The printf format of the message. Null only for the codes the printer's
  // own catalogue holds (amiparam/MsgCatalogue.cpp: the memory faults 1906 to
  // 1908, which the parameter subsystem prints too).
  const char* message;
  const char* rule;    // the standard's rule in a few words
  const char* source;  // version and section, e.g. "2.1 §5 [Pin]"
  // A short file that breaks the rule, checked as "t.ibs"; "$H" stands for
  // a 4.2 header naming t.ibs. Null where no example is written yet.
  const char* example = nullptr;
};

extern const CHECK_RULE gaCheckRules[];
extern const int giCheckRuleCount;
