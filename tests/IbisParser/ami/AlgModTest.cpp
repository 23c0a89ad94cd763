// [Algorithmic Model] blocks: the keyword line, Executable lines, bit widths
// and duplicates at the end of the block.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/base/CmnFile.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"
#include "tests/amiparam/MsgCapture.h"

namespace {

// One block fed line by line, with the messages it printed.
struct Block {
  PARSE_CONTEXT ctx;
  ALGMODLIST* head = nullptr;
  MsgCapture capture;
  unsigned long line = 10;

  Block() {
    gulLineNumber = line;
    ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
  }
  ~Block() { ALGMOD_FreeList(&head); }
  void Add(const char* text) {
    gulLineNumber = ++line;
    ALGMOD_AddLine(ctx, text, head);
  }
  void End() { ALGMOD_EndBlock(ctx, head); }
  std::string Text() const { return capture.Text(); }
  int Count() const {
    int n = 0;
    for (ALGMOD* r = head ? head->first : nullptr; r; r = r->next) ++n;
    return n;
  }
};

TEST(AlgModLine, ExecutableLineGivesPlatformCompilerBitsAndFiles) {
  Block b;
  b.Add("Executable Windows_VisualStudio_32 model.dll model.ami");
  b.End();
  EXPECT_EQ(b.Text(), "");
  ASSERT_EQ(b.Count(), 1);
  const ALGMOD* r = b.head->first;
  EXPECT_STREQ(r->platform, "Windows");
  EXPECT_STREQ(r->compiler, "VisualStudio");
  EXPECT_EQ(r->bits, 32);
  EXPECT_STREQ(r->codeFile, "model.dll");
  EXPECT_STREQ(r->amiFile, "model.ami");
  EXPECT_EQ(r->tree, nullptr);
  EXPECT_EQ(b.ctx.algmodLine, 10);
}

TEST(AlgModLine, NewestRecordComesFirst) {
  Block b;
  b.Add("Executable Linux_gcc_64 a.so a.ami");
  b.Add("Executable Windows_VisualStudio_64 a.dll a.ami");
  ASSERT_EQ(b.Count(), 2);
  EXPECT_STREQ(b.head->first->platform, "Windows");
  EXPECT_STREQ(b.head->first->next->platform, "Linux");
}

TEST(AlgModLine, CompilerWithUnderscoreIsNotParsedAndTheRecordIsDropped) {
  Block b;
  b.Add("Executable Windows_Visual_Studio_32 model.dll model.ami");
  EXPECT_EQ(b.Text(),
            "ERROR (line   11) - Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
            "Executable Sub-parameter\n");
  EXPECT_EQ(b.Count(), 0);
}

TEST(AlgModLine, PlatformWordOfOtherShapesIsNotParsed) {
  for (const char* word : {"Windows_32", "_Windows_32", "Windows__32_", "Windows_VS_32_", "W_V_3_2"}) {
    Block b;
    b.Add((std::string("Executable ") + word + " m.dll m.ami").c_str());
    EXPECT_NE(b.Text().find("Could not parse Platform, Compiler, Bits"), std::string::npos) << word;
    EXPECT_EQ(b.Count(), 0) << word;
  }
}

TEST(AlgModLine, WrongWordCountIsReportedWithCountAndExpectation) {
  Block b;
  b.Add("Executable Windows_VisualStudio_32 model.dll");
  b.Add("Executable Windows_VisualStudio_32 model.dll model.ami extra");
  EXPECT_EQ(b.Text(),
            "ERROR (line   11) -\n    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 4\n"
            "ERROR (line   12) -\n    Incorrect Number of Line Items (5) For Algorithmic Model: Expecting 4\n");
  EXPECT_EQ(b.Count(), 0);
}

TEST(AlgModLine, UnknownSubParameterIsReportedCaseCounting) {
  Block b;
  b.Add("executable Windows_VisualStudio_32 model.dll model.ami");
  EXPECT_EQ(b.Text(), "ERROR (line   11) - Unknown Line in Algorithmic Model\n");
  EXPECT_EQ(b.Count(), 0);
}

TEST(AlgModLine, UnreadableBitsKeepTheRecordWithMinusOne) {
  for (const char* bits : {"x32", "32x", "-32", "99999999999"}) {
    Block b;
    std::string word = std::string("Linux_gcc_") + bits;
    b.Add(("Executable " + word + " a.so a.ami").c_str());
    EXPECT_EQ(b.Text(), "ERROR (line   11) - Could not parse the Bits in " + word +
                            " for [Algorithmic Model] Executable Sub-parameter\n");
    ASSERT_EQ(b.Count(), 1);
    EXPECT_EQ(b.head->first->bits, -1);
  }
}

TEST(AlgModLine, LongNamesAreReportedAndCutTo44Characters) {
  std::string n44(44, 'p'), n45(45, 'q'), f45 = std::string(41, 'f') + ".ami";
  Block b;
  b.Add(("Executable " + n44 + "_" + n45 + "_64 " + f45 + " " + f45).c_str());
  // Each of these texts is 60 to 75 characters long: the two-line form.
  EXPECT_EQ(b.Text(), "ERROR (line   11) -\n    Compiler name too long " + n45 + "\n" +
                          "ERROR (line   11) -\n    Filename too long " + f45 + "\n" +
                          "ERROR (line   11) -\n    Filename too long " + f45 + "\n");
  ASSERT_EQ(b.Count(), 1);
  EXPECT_EQ(b.head->first->platform, n44);
  EXPECT_EQ(b.head->first->compiler, n45.substr(0, 44));
  EXPECT_EQ(b.head->first->amiFile, f45.substr(0, 44));

  Block c;
  c.Add(("Executable " + n45 + "_gcc_64 a.so a.ami").c_str());
  EXPECT_EQ(c.Text(), "ERROR (line   11) -\n    Platform name too long " + n45 + "\n");
}

TEST(AlgModBlock, BitsOtherThan32Or64AreReportedAtTheEnd) {
  Block b;
  b.Add("Executable Linux_gcc_48 a.so a.ami");
  EXPECT_EQ(b.Text(), "");
  b.End();
  EXPECT_EQ(b.Text(),
            "ERROR - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
            "Algorithmic Model defined on line 10\n");
}

TEST(AlgModBlock, DuplicatesDifferingOnlyInCaseAreReported) {
  Block b;
  b.Add("Executable Windows_VisualStudio_32 a.dll a.ami");
  b.Add("Executable windows_visualstudio_32 b.dll b.ami");
  b.Add("Executable Windows_VisualStudio_64 c.dll c.ami");
  b.End();
  EXPECT_EQ(b.Text(),
            "ERROR - Duplicate Sub-Parameter: Platform windows Compiler visualstudio Bits 32 for "
            "Algorithmic Model defined on line 10\n");
}

// Each record is reported once for every later record like it, newest
// first, with its own spelling; a kind with other bits is another kind.
TEST(AlgModBlock, EachDuplicateIsReportedForEveryLaterOne) {
  Block b;
  b.Add("Executable Linux_gcc_64 a.so a.ami");
  b.Add("Executable Windows_VisualStudio_64 b.dll b.ami");
  b.Add("Executable LINUX_GCC_64 c.so c.ami");
  b.Add("Executable linux_Gcc_64 d.so d.ami");
  b.Add("Executable linux_gcc_32 e.so e.ami");
  b.End();
  const std::string tail = " Bits 64 for Algorithmic Model defined on line 10\n";
  EXPECT_EQ(b.Text(), "ERROR - Duplicate Sub-Parameter: Platform linux Compiler Gcc" + tail +
                          "ERROR - Duplicate Sub-Parameter: Platform linux Compiler Gcc" + tail +
                          "ERROR - Duplicate Sub-Parameter: Platform LINUX Compiler GCC" + tail);
}

TEST(AlgModBlock, KeywordLineWithMoreWordsAndSecondBlockAreReported) {
  PARSE_CONTEXT ctx;
  MsgCapture capture;
  ALGMODLIST* head = nullptr;
  gulLineNumber = 3;
  ALGMOD_BeginBlock(ctx, "[Algorithmic Model] extra words", &head);
  ALGMOD_AddLine(ctx, "Executable Linux_gcc_64 a.so a.ami", head);
  gulLineNumber = 7;
  ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
  EXPECT_EQ(capture.Text(),
            "ERROR (line    3) -\n    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 1\n"
            "ERROR (line    7) - Algorithmic Model: Already Defined for this model\n");
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->first, nullptr);  // the old list was replaced
  EXPECT_EQ(ctx.algmodLine, 7);
  ALGMOD_FreeList(&head);
  EXPECT_EQ(head, nullptr);
}

TEST(AlgModBlock, EmptyBlockIsReportedPerModelAndModelsWithoutBlockAreSkipped) {
  PARSE_CONTEXT ctx;
  MsgCapture capture;
  ALGMODLIST* empty = nullptr;
  ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &empty);
  ALGMOD_MODEL models[] = {{"plain", nullptr}, {"serdes", empty}};
  ALGMOD_CheckFiles(ctx, models, 2, "");
  EXPECT_EQ(capture.Text(), "ERROR - Empty [Algorithmic Model] defined for Model serdes\n");
  ALGMOD_FreeList(&empty);
}

TEST(AlgModBlock, ExhaustedMemoryNamesTheSourceFileWithoutItsFolder) {
  PARSE_CONTEXT ctx;
  MsgCapture capture;
  ALGMODLIST* head = nullptr;
  CMN_FailAllocationsAfter(0);
  ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
  CMN_FailAllocationsAfter(-1);
  EXPECT_EQ(head, nullptr);
  std::string text = capture.Text();
  EXPECT_NE(text.find("PROGRAM BUG - Unable to Allocate Memory: AlgMod.cpp "), std::string::npos) << text;

  ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
  CMN_FailAllocationsAfter(5);  // the word array and four words, then the record
  ALGMOD_AddLine(ctx, "Executable Linux_gcc_64 a.so a.ami", head);
  CMN_FailAllocationsAfter(-1);
  EXPECT_EQ(head->first, nullptr);
  text = capture.Text();
  size_t first = text.find("Unable to Allocate Memory: AlgMod.cpp ");
  EXPECT_NE(text.find("Unable to Allocate Memory: AlgMod.cpp ", first + 1), std::string::npos) << text;
  EXPECT_EQ(text.find('/'), std::string::npos) << text;
  ALGMOD_FreeList(&head);
}

TEST(AlgModPath, JoinsWithOneSlashAndRefusesWhatDoesNotFit) {
  char out[16];
  ASSERT_EQ(CMN_JoinPath("dir", "a.ami", out, sizeof out), 1);
  EXPECT_STREQ(out, "dir/a.ami");
  ASSERT_EQ(CMN_JoinPath("dir/", "a.ami", out, sizeof out), 1);
  EXPECT_STREQ(out, "dir/a.ami");
  ASSERT_EQ(CMN_JoinPath("", "a.ami", out, sizeof out), 1);
  EXPECT_STREQ(out, "a.ami");
  EXPECT_EQ(CMN_JoinPath("directory", "long_name.ami", out, sizeof out), 0);
}

}  // namespace
