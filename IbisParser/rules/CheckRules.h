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
  // a 4.2 header naming the file, "$R<n>{text}" for text n times. An example
  // whose first line is "@name" is made of files, each starting with such a
  // line: the first is the one checked, under that name and as the kind its
  // extension gives (.ibs, .pkg, .ebd, .ami; another one as .ibs) or "@name as .ext" gives, the others
  // are written beside it ("@name/" a directory). A name with no line after
  // it is not written, as a missing file. CHECK_NO_FILE where no file can
  // give the code (the source says why); a test holds every other row to an
  // example.
  const char* example = nullptr;
};

// The example of a row that no file can reach: a fault of the checker
// itself (PROGRAM BUG), memory running out, or a case the callers rule out
// before it (the row's source says "no file reaches it").
inline constexpr char CHECK_NO_FILE[] = "(no file reaches it)";

extern const CHECK_RULE gaCheckRules[];
extern const int giCheckRuleCount;
