#include "IbisParser/IbisCheck.h"

#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/base/CmnWords.h"
#include "amiparam/Msg.h"

#include <cstring>

int IBIS_FileKind(const char* path) {
  static const struct {
    const char* extension;
    int mode;
  } kKinds[] = {{".ibs", PARSE_MODE_IBS}, {".pkg", PARSE_MODE_PKG}, {".ebd", PARSE_MODE_EBD}, {".ami", PARSE_MODE_AMI}};
  if (path == nullptr) return 0;
  const char* name = CMN_BaseName(path);
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) return 0;
  for (const auto& kind : kKinds)
    if (CMN_EqualNoCase(dot, kind.extension)) return kind.mode;
  return 0;
}

IBIS_CHECK_COUNTS IBIS_CheckFile(const char* path, int quiet) {
  const long bugs = glBugCount, errors = glErrorCount, warnings = glWarningCount, cautions = glCautionCount;
  const int mode = IBIS_FileKind(path);
  const int wasQuiet = gbParseQuiet;
  gbParseQuiet = quiet ? 1 : 0;
  int read = 0;
  if (mode == PARSE_MODE_AMI)
    read = ALGMOD_CheckAmiFile(path);
  else if (mode != 0)
    read = PARSE_CheckFile(path, mode);
  gbParseQuiet = wasQuiet;
  return {glBugCount - bugs, glErrorCount - errors, glWarningCount - warnings, glCautionCount - cautions, read};
}
