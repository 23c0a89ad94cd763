#include "IbisParser/rules/MsgSummary.h"

#include <cstdio>

#include "amiparam/Msg.h"

int MSG_Passed() { return glBugCount == 0 && glErrorCount == 0; }

void MSG_Summary() {
  FILE* out = MSG_Stream();
  if (glBugCount || glErrorCount || glWarningCount) std::fputc('\n', out);
  if (glBugCount) std::fprintf(out, "Bugs    : %ld\n", static_cast<long>(glBugCount));
  std::fprintf(out, "Errors  : %ld\n", static_cast<long>(glErrorCount));
  if (glWarningCount) std::fprintf(out, "Warnings: %ld\n", static_cast<long>(glWarningCount));
  if (glCautionCount) std::fprintf(out, "Cautions: %ld\n", static_cast<long>(glCautionCount));
  std::fprintf(out, "\nFile %s\n", MSG_Passed() ? "Passed" : "Failed");
}
