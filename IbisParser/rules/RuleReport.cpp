#include "IbisParser/rules/RuleReport.h"

#include <cstdarg>
#include <cstring>

#include "IbisParser/rules/CheckRules.h"
#include "IbisParser/rules/RuleBook.h"
#include "amiparam/Msg.h"

namespace {

int LevelOf(const CHECK_RULE* rule) {
  if (!rule) return MSG_LEVEL_ERROR_LINE;
  if (std::strcmp(rule->severity, "WARNING") == 0) return MSG_LEVEL_WARNING_LINE;
  if (std::strcmp(rule->severity, "NOTE") == 0) return MSG_LEVEL_NOTE_LINE;
  if (std::strcmp(rule->severity, "CAUTION") == 0) return MSG_LEVEL_CAUTION_LINE;
  if (std::strcmp(rule->severity, "PROGRAM BUG") == 0) return MSG_LEVEL_BUG_LINE;
  return MSG_LEVEL_ERROR_LINE;
}

// Prints code's row at its level, in the form with a line or without.
void Print(bool atLine, int code, va_list args) {
  const CHECK_RULE* rule = RULES_Find(code);
  if (!rule) return;
  const int level = LevelOf(rule) - (atLine ? 0 : 1);
  MSG_CodeTextV(level, code, RULES_Text(*rule), args);
}

}  // namespace

int CHECK_LevelOf(int code) { return LevelOf(RULES_Find(code)); }

void CHECK_Report(int code, ...) {
  va_list args;
  va_start(args, code);
  Print(true, code, args);
  va_end(args);
}

void CHECK_ReportAt(unsigned long line, int code, ...) {
  const unsigned long current = gulLineNumber;
  gulLineNumber = line;
  va_list args;
  va_start(args, code);
  Print(true, code, args);
  va_end(args);
  gulLineNumber = current;
}

void CHECK_ReportFile(int code, ...) {
  va_list args;
  va_start(args, code);
  Print(false, code, args);
  va_end(args);
}
