// The silence switches of the checker's report settings.
#include <gtest/gtest.h>

#include "amiparam/Msg.h"
#include "tests/amiparam/MsgCapture.h"

TEST(MsgSilence, SilencedKindsAreNeitherPrintedNorCounted) {
  MsgCapture capture;
  int32_t bugs = glBugCount, errors = glErrorCount, warnings = glWarningCount, cautions = glCautionCount;
  gbMsgSilenceBugs = gbMsgSilenceErrors = gbMsgSilenceWarnings = 1;
  for (int level = 0; level < 6; ++level) MSG_Emit(level, "hidden");
  EXPECT_EQ(capture.Text(), "");
  MSG_Emit(6, "caution");  // cautions and notes have no switch
  MSG_Emit(8, "note");
  gbMsgSilenceErrors = 0;
  MSG_Emit(2, "error");
  MSG_Emit(4, "warning");
  gbMsgSilenceBugs = gbMsgSilenceWarnings = 0;
  MSG_Emit(4, "warning");
  EXPECT_EQ(capture.Text(), "CAUTION - caution\nNOTE - note\nERROR - error\nWARNING - warning\n");
  EXPECT_EQ(glBugCount, bugs);
  EXPECT_EQ(glErrorCount, errors + 1);
  EXPECT_EQ(glWarningCount, warnings + 1);
  EXPECT_EQ(glCautionCount, cautions + 1);
}
