#include "amiparam/Msg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MsgCapture.h"
#include "amiparam/MsgCatalogue.h"

namespace {

TEST(MsgCatalogue, StrictlyAscendingWithRowZeroFirst) {
  ASSERT_GT(gulMsgCatalogueSize, 0u);
  EXPECT_EQ(gaMsgCatalogue[0].code, 0);
  EXPECT_STREQ(gaMsgCatalogue[0].text, "Error code doesn't exist.");
  for (size_t i = 1; i < gulMsgCatalogueSize; ++i) {
    EXPECT_LT(gaMsgCatalogue[i - 1].code, gaMsgCatalogue[i].code) << "row " << i;
    EXPECT_NE(gaMsgCatalogue[i].text, nullptr) << "row " << i;
  }
}

TEST(MsgCatalogue, BisectionFindsEveryRowAndNothingElse) {
  for (size_t i = 0; i < gulMsgCatalogueSize; ++i) {
    EXPECT_EQ(MSG_Lookup(gaMsgCatalogue[i].code), gaMsgCatalogue[i].text) << gaMsgCatalogue[i].code;
    EXPECT_EQ(MSG_Lookup(gaMsgCatalogue[i].code + 1) == nullptr,
              i + 1 == gulMsgCatalogueSize || gaMsgCatalogue[i + 1].code != gaMsgCatalogue[i].code + 1);
  }
  EXPECT_EQ(MSG_Lookup(-1), nullptr);
  EXPECT_EQ(MSG_Lookup(INT32_MAX), nullptr);
  EXPECT_STREQ(MSG_Lookup(1906), "Memory allocation failed.  This request %u.\n");
  EXPECT_STREQ(MSG_Lookup(1907), "Memory reallocation failed.  This request %u.\n");
  EXPECT_STREQ(MSG_Lookup(1908), "Unable to Allocate Memory: %s %d");
}

TEST(Msg, UnknownCodeAndUnknownLevelPrintAndCountNothing) {
  MsgCapture capture;
  int32_t errors = glErrorCount, bugs = glBugCount;
  MSG_Error(7, 1u);  // no row has code 7
  MSG_Bug(999999);
  MSG_Emit(10, "text");
  MSG_Emit(-1, "text");
  EXPECT_EQ(capture.Text(), "");
  EXPECT_EQ(glErrorCount, errors);
  EXPECT_EQ(glBugCount, bugs);
}

TEST(Msg, CatalogueRowsAtErrorAndBugLevels) {
  MsgCapture capture;
  MSG_Error(1907, 16u);
  MSG_Bug(1908, "Unit.cpp", 12);
  EXPECT_EQ(capture.Text(),
            "ERROR - Memory reallocation failed.  This request 16.\n\n"
            "PROGRAM BUG - Unable to Allocate Memory: Unit.cpp 12\n");
}

// Prints a text of `length` characters at `level` and returns the output.
std::string EmitOfLength(int level, size_t length) {
  MsgCapture capture;
  std::string text(length, 'x');
  MSG_Emit(level, "%s", text.c_str());
  return capture.Text();
}

TEST(Msg, ErrorTwoLineRangeIs72To75) {
  EXPECT_EQ(EmitOfLength(2, 71), "ERROR - " + std::string(71, 'x') + "\n");
  EXPECT_EQ(EmitOfLength(2, 72), "ERROR -\n    " + std::string(72, 'x') + "\n");
  EXPECT_EQ(EmitOfLength(2, 75), "ERROR -\n    " + std::string(75, 'x') + "\n");
  EXPECT_EQ(EmitOfLength(2, 76), "ERROR - " + std::string(76, 'x') + "\n");
}

TEST(Msg, EveryLevelFormAndRange) {
  struct Case {
    int level;
    const char* head;         // one-line form up to the text
    const char* twoLineHead;  // null: never two lines
    size_t min, max;
  };
  gulLineNumber = 7;
  const Case cases[] = {
      {0, "PROGRAM BUG - ", nullptr, 0, 0},
      {1, "PROGRAM BUG (line    7) - ", nullptr, 0, 0},
      {2, "ERROR - ", "ERROR -\n    ", 72, 75},
      {3, "ERROR (line    7) - ", "ERROR (line    7) -\n    ", 60, 75},
      {4, "WARNING - ", "WARNING -\n    ", 70, 75},
      {5, "WARNING (line    7) - ", "WARNING (line    7) -\n    ", 58, 75},
      {6, "CAUTION - ", "CAUTION -\n    ", 70, 75},
      {7, "CAUTION (line    7) - ", "CAUTION (line    7) -\n    ", 58, 75},
      {8, "NOTE - ", "NOTE -\n    ", 73, 75},
      {9, "NOTE (line    7) - ", "NOTE (line    7) -\n    ", 61, 75},
  };
  for (const Case& c : cases) {
    for (size_t length : {size_t{0}, size_t{40}, size_t{57}, size_t{58}, size_t{60}, size_t{61}, size_t{69}, size_t{70},
                          size_t{72}, size_t{73}, size_t{75}, size_t{76}, size_t{200}}) {
      bool two = c.twoLineHead && length >= c.min && length <= c.max;
      std::string expected = std::string(two ? c.twoLineHead : c.head) + std::string(length, 'x') + "\n";
      EXPECT_EQ(EmitOfLength(c.level, length), expected) << "level " << c.level << " length " << length;
    }
  }
  gulLineNumber = 123456;
  EXPECT_EQ(EmitOfLength(5, 3), "WARNING (line 123456) - xxx\n");
  gulLineNumber = 0;
}

TEST(Msg, CountersFollowTheLevels) {
  MsgCapture capture;
  const int32_t bugs = glBugCount, errors = glErrorCount, warnings = glWarningCount, cautions = glCautionCount;
  for (int level = 0; level <= 9; ++level) MSG_Emit(level, "m");
  EXPECT_EQ(glBugCount, bugs + 2);
  EXPECT_EQ(glErrorCount, errors + 2);
  EXPECT_EQ(glWarningCount, warnings + 2);
  EXPECT_EQ(glCautionCount, cautions + 2);
  MSG_Code(4, 1906, 5u);
  EXPECT_EQ(glWarningCount, warnings + 3);
}

TEST(Msg, FormattingIsBoundedAndPlainTextIsLiteral) {
  MsgCapture capture;
  std::string huge(5000, 'y');
  MSG_Emit(8, "%s", huge.c_str());
  std::string out = capture.Text();
  EXPECT_EQ(out, "NOTE - " + std::string(MSG_BUFFER_SIZE - 1, 'y') + "\n");

  MsgCapture plain;
  MSG_EmitText(2, "100% sure %s");
  EXPECT_EQ(plain.Text(), "ERROR - 100% sure %s\n");
}

TEST(Msg, DefaultStreamIsStandardOutput) {
  // Standard output from the start (every test that changes the stream puts
  // it back), and a cleared stream prints there too; printing never sets the
  // stream, so threads that print at once only read it.
  FILE* saved = gpMsgStream;
  EXPECT_EQ(saved, stdout);
  gpMsgStream = nullptr;
  testing::internal::CaptureStdout();
  MSG_Emit(8, "to %s", "stdout");
  std::fflush(stdout);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(gpMsgStream, nullptr);
  EXPECT_EQ(MSG_Stream(), stdout);
  EXPECT_EQ(out, "NOTE - to stdout\n");
  gpMsgStream = saved;
}

}  // namespace

// The listener sees what is printed, with the catalogue code and the line of
// the "at a line" forms, and nothing that is silenced or unknown.
TEST(Msg, ListenerSeesEveryPrintedMessageWithItsCodeAndLine) {
  struct Seen {
    int level, code;
    unsigned long line;
    std::string text;
  };
  std::vector<Seen> seen;
  MSG_SetListener(
      [](int level, int code, unsigned long line, const char* text, void* context) {
        static_cast<std::vector<Seen>*>(context)->push_back({level, code, line, text});
      },
      &seen);
  MsgCapture capture;
  const unsigned long savedLine = gulLineNumber;
  gulLineNumber = 7;
  MSG_SetTextLookup([](int code) { return code == 1008 ? "Illegal IBIS_Version '%s'." : nullptr; });
  MSG_Code(MSG_LEVEL_ERROR_LINE, 1008, "9.9");
  MSG_SetTextLookup(nullptr);
  MSG_Emit(MSG_LEVEL_WARNING, "plain %d", 3);
  MSG_Code(MSG_LEVEL_ERROR, 12345);  // no such row
  gbMsgSilenceWarnings = 1;
  MSG_Emit(MSG_LEVEL_WARNING, "silenced");
  gbMsgSilenceWarnings = 0;
  gulLineNumber = savedLine;
  MSG_SetListener(nullptr, nullptr);
  MSG_Emit(MSG_LEVEL_NOTE, "after");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].level, MSG_LEVEL_ERROR_LINE);
  EXPECT_EQ(seen[0].code, 1008);
  EXPECT_EQ(seen[0].line, 7u);
  EXPECT_EQ(seen[0].text, "Illegal IBIS_Version '9.9'.");
  EXPECT_EQ(seen[1].code, 0);
  EXPECT_EQ(seen[1].line, 0u);
  EXPECT_EQ(seen[1].text, "plain 3");
}

// A table registered beside the catalogue (the file checker's rule rows) is
// looked in after it: the catalogue's rows win, a code neither holds prints
// nothing, and without the table its codes are unknown again.
TEST(Msg, RegisteredTableIsLookedInAfterTheCatalogue) {
  const MSG_TEXT_LOOKUP table = [](int code) -> const char* {
    if (code == 1906) return "not this";
    return code == 5000 ? "Component '%s': required keyword [%s] not found" : nullptr;
  };
  MSG_SetTextLookup(table);
  EXPECT_STREQ(MSG_Text(1906), MSG_Lookup(1906));
  EXPECT_EQ(MSG_Lookup(5000), nullptr);
  MsgCapture capture;
  const int32_t errors = glErrorCount;
  MSG_Error(5000, "c", "Pin");
  MSG_Error(5001);
  MSG_SetTextLookup(nullptr);
  MSG_Error(5000, "c", "Pin");
  EXPECT_EQ(capture.Text(), "ERROR - Component 'c': required keyword [Pin] not found\n");
  EXPECT_EQ(glErrorCount, errors + 1);
  EXPECT_EQ(MSG_Text(5000), nullptr);
}
