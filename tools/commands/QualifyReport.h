// The results of `tessalune qualify` as the user reads them: one line per
// check and a summary, a JSON document, or a self-contained HTML page whose
// figures are PNG pictures carried in the page as data: URIs.
#pragma once

#include <string>
#include <vector>

#include "tools/commands/QualifyChecks.h"

struct QualifyRun {
  std::string library;
  std::string ami;
  double seconds = 0.0;
  std::vector<CheckResult> results;
};

namespace QualifyReport {

// "PASS  getwave.block-sizes  EVIDENCE (0.21 s)".
std::string Line(const CheckResult& result);
// "14 checks: 12 passed, 0 warnings, 1 failed, 1 skipped in 4.2 s".
std::string Summary(const QualifyRun& run);
bool AnyFailed(const QualifyRun& run);
std::string Json(const QualifyRun& run);
std::string Html(const QualifyRun& run);

}  // namespace QualifyReport
