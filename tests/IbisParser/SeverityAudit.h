// While it lives, watches every catalogue message the checker prints: each
// code must be a row of the rule tables (IbisParser/rules/FileCheckRules.h) and be
// printed at the severity of its row. Also keeps the texts of the ERRORs and
// of the rule checks printed, without line numbers, for tests that compare
// two runs.
#pragma once

#include <map>
#include <set>
#include <string>

#include "IbisParser/rules/FileCheckRules.h"
#include "IbisParser/rules/RuleBook.h"
#include "amiparam/Msg.h"

// The severity column of a rule row for a printing level (MSG_LEVEL_*).
inline const char* SeverityOfLevel(int level) {
  static const char* const kNames[] = {"PROGRAM BUG", "ERROR", "WARNING", "CAUTION", "NOTE"};
  return level >= 0 && level <= 9 ? kNames[level / 2] : "?";
}

class SeverityAudit {
 public:
  SeverityAudit() { MSG_SetListener(&SeverityAudit::Listen, this); }
  ~SeverityAudit() { MSG_SetListener(nullptr, nullptr); }
  SeverityAudit(const SeverityAudit&) = delete;
  SeverityAudit& operator=(const SeverityAudit&) = delete;

  std::set<std::string> faults;             // "code: printed as X, row says Y" or "code: no row"
  std::set<int> seen;                       // every catalogue code printed
  std::map<std::string, int> errors;        // ERROR texts printed, with their counts
  std::map<std::string, int> ruleFindings;  // texts of the rule checks (ids 5000 on) at any level

 private:
  static void Listen(int level, int code, unsigned long, const char* text, void* context) {
    SeverityAudit* a = static_cast<SeverityAudit*>(context);
    if (level == MSG_LEVEL_ERROR || level == MSG_LEVEL_ERROR_LINE) ++a->errors[text];
    if (code >= 5000) ++a->ruleFindings[text];
    if (code == 0) return;  // a text that is not a catalogue row
    a->seen.insert(code);
    const CHECK_RULE* rule = RULES_Find(code);
    const std::string printed = SeverityOfLevel(level);
    if (!rule) {
      a->faults.insert(std::to_string(code) + ": no row");
    } else if (printed != rule->severity) {
      a->faults.insert(std::to_string(code) + ": printed as " + printed + ", row says " + rule->severity);
    }
  }
};
