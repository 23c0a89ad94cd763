#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/rules/RuleBook.h"

#include <cstdarg>
#include <cstring>

#include "IbisParser/rules/FileCheckRules.h"
#include "amiparam/Msg.h"

int CHECK_LevelOf(int code) {
  const CHECK_RULE* rule = RULES_Find(code);
  if (!rule) return MSG_LEVEL_ERROR_LINE;
  if (std::strcmp(rule->severity, "WARNING") == 0) return MSG_LEVEL_WARNING_LINE;
  if (std::strcmp(rule->severity, "NOTE") == 0) return MSG_LEVEL_NOTE_LINE;
  if (std::strcmp(rule->severity, "CAUTION") == 0) return MSG_LEVEL_CAUTION_LINE;
  if (std::strcmp(rule->severity, "PROGRAM BUG") == 0) return MSG_LEVEL_BUG_LINE;
  return MSG_LEVEL_ERROR_LINE;
}

void CHECK_Report(int code, ...) {
  va_list args;
  va_start(args, code);
  MSG_CodeV(CHECK_LevelOf(code), code, args);
  va_end(args);
}

void CHECK_ReportAt(unsigned long line, int code, ...) {
  const unsigned long current = gulLineNumber;
  gulLineNumber = line;
  va_list args;
  va_start(args, code);
  MSG_CodeV(CHECK_LevelOf(code), code, args);
  va_end(args);
  gulLineNumber = current;
}
