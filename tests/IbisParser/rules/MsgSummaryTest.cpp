// The end-of-run summary of the diagnostic counters.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/rules/MsgSummary.h"
#include "amiparam/Msg.h"
#include "tests/amiparam/MsgCapture.h"

namespace {

// Prints the summary for the given counts, leaving the real counters as they were.
std::string Summary(int32_t bugs, int32_t errors, int32_t warnings, int32_t cautions) {
  int32_t saved[] = {glBugCount, glErrorCount, glWarningCount, glCautionCount};
  glBugCount = bugs;
  glErrorCount = errors;
  glWarningCount = warnings;
  glCautionCount = cautions;
  MsgCapture capture;
  MSG_Summary();
  std::string text = capture.Text();
  glBugCount = saved[0];
  glErrorCount = saved[1];
  glWarningCount = saved[2];
  glCautionCount = saved[3];
  return text;
}

}  // namespace

TEST(MsgSummary, CountsAndVerdict) {
  EXPECT_EQ(Summary(0, 1, 0, 0), "\nErrors  : 1\n\nFile Failed\n");
  EXPECT_EQ(Summary(0, 0, 0, 0), "Errors  : 0\n\nFile Passed\n");
  EXPECT_EQ(Summary(0, 0, 2, 0), "\nErrors  : 0\nWarnings: 2\n\nFile Passed\n");
  EXPECT_EQ(Summary(0, 0, 0, 3), "Errors  : 0\nCautions: 3\n\nFile Passed\n");
  EXPECT_EQ(Summary(1, 0, 0, 0), "\nBugs    : 1\nErrors  : 0\n\nFile Failed\n");
  EXPECT_EQ(Summary(2, 3, 4, 5), "\nBugs    : 2\nErrors  : 3\nWarnings: 4\nCautions: 5\n\nFile Failed\n");
}
