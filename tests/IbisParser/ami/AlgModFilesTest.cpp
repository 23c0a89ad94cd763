// .ami files on disk: reading them whole (line rules, Description length,
// comments, joined lines) and the look-up of the files an [Algorithmic Model]
// block names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/AmiTree.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"
#include "tests/TestFolder.h"
#include "tests/amiparam/MsgCapture.h"

namespace fs = std::filesystem;

namespace {

const char kGoodAmi[] =
    "| a well-formed parameter file\n"
    "(model\n"
    "  (Reserved_Parameters\n"
    "    (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False)\n"
    "      (Description \"no impulse\"))\n"
    "    (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"yes\"))\n"
    "  )\n"
    ")\n";

// A fresh folder per test, removed afterwards.
class AmiFiles : public ::testing::Test {
 protected:
  PARSE_CONTEXT ctx;
  void SetUp() override { gbParseQuiet = 1; }
  void TearDown() override { gbParseQuiet = 0; }
  std::string Write(const std::string& name, const std::string& text) { return folder_.Write(name, text); }
  // Reads `text` as an .ami file; returns the messages; the collected text
  // is left in ctx.gpszAmiText.
  std::string Read(const std::string& text, int* ok = nullptr) {
    std::string path = Write("t.ami", text);
    MsgCapture capture;
    int result = AMIREAD_ReadFile(ctx, path.c_str());
    if (ok) *ok = result;
    return capture.Text();
  }
  std::string Collected() const { return ctx.gpszAmiText ? ctx.gpszAmiText : "<null>"; }
  TestFolder folder_{"algmod"};
  const fs::path& dir_ = folder_.path;
};

TEST_F(AmiFiles, LinesAreJoinedWithoutSeparatorAfterCuttingComments) {
  int ok = 0;
  EXPECT_EQ(Read("(m   | root\n\n  (a 1)  |x\n(Usage\nInfo)\n   | only a comment\n)", &ok), "");
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(Collected(), "(m  (a 1)(UsageInfo))");
  ALGMOD_ReleaseAmiText(ctx);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
}

TEST_F(AmiFiles, CharacterRulesApplyToWholeLines) {
  std::string longLine = "(m (a \"" + std::string(3000, 'x') + "\"))";
  EXPECT_EQ(Read(longLine + "\r\n\x1a"), "");
  EXPECT_EQ(Collected(), longLine);
  ALGMOD_ReleaseAmiText(ctx);

  EXPECT_EQ(Read("(m\t(a 1)\r)\n(b\t2)\x1a\n"),
            "ERROR (line    1) -\n    Found illegal control character (code d).  Converting to space.\n"
            "WARNING (line    1) - IBIS files should not contain tab characters.\n"
            "ERROR (line    2) -\n    Found illegal control character (code 1a).  Converting to space.\n");
  EXPECT_EQ(Collected(), "(m\t(a 1) )(b\t2)");
  ALGMOD_ReleaseAmiText(ctx);
}

TEST_F(AmiFiles, DescriptionLinesUpTo120CharactersPass) {
  // «(Description "» is 14 characters and «")» 2.
  std::string desc120 = "(Description \"" + std::string(104, 'd') + "\")";
  std::string desc121 = "(Description \"" + std::string(105, 'd') + "\")";
  ASSERT_EQ(desc120.size(), 120u);
  EXPECT_EQ(Read("(m\n" + desc120 + "\n)"), "");
  ALGMOD_ReleaseAmiText(ctx);
  EXPECT_EQ(Read("(m\n" + desc121 + "\n)"),
            "ERROR (line    2) -\n    Description line in AMI file (at line no 2) is greater than 120 characters\n");
  ALGMOD_ReleaseAmiText(ctx);
  // Leading blanks and a comment count too: the length is that of the line as read.
  EXPECT_NE(Read("(m\n  ( Description \"d\") |" + std::string(120, 'c') + "\n)").find("at line no 2"),
            std::string::npos);
  ALGMOD_ReleaseAmiText(ctx);
}

TEST_F(AmiFiles, ContinuationLinesOfADescriptionAreMeasuredUntilTheNextList) {
  std::string long121(121, 'w');
  std::string text = "(m\n(Description \"starts here\n" + long121 + "\n\")\n(x 1\n" + long121 + "\n)";
  EXPECT_EQ(Read(text),
            "ERROR (line    3) -\n    Description line in AMI file (at line no 3) is greater than 120 characters\n");
  ALGMOD_ReleaseAmiText(ctx);
}

TEST_F(AmiFiles, TextThatCannotGrowIsReportedAndKeepsWhatItHeld) {
  MsgCapture capture;
  ASSERT_EQ(AMIREAD_AppendText(ctx, "(m (a 1)", 8), 1);
  std::string more(300, 'x');  // beyond the first block: the text must grow
  CMN_FailAllocationsAfter(0);
  EXPECT_EQ(AMIREAD_AppendText(ctx, more.data(), more.size()), 0);
  CMN_FailAllocationsAfter(-1);
  EXPECT_EQ(Collected(), "(m (a 1)");
  std::string text = capture.Text();
  EXPECT_NE(text.find("ERROR - Unable to Allocate Memory: ParseAmi.cpp "), std::string::npos) << text;
  EXPECT_EQ(text.find('/'), std::string::npos) << text;
  ASSERT_EQ(AMIREAD_AppendText(ctx, ")", 1), 1);
  EXPECT_EQ(Collected(), "(m (a 1))");
  ALGMOD_ReleaseAmiText(ctx);
}

TEST_F(AmiFiles, CommentOnlyFileGivesNoTextNoTreeAndNoMessage) {
  MsgCapture capture;
  int ok = 0;
  EXPECT_EQ(Read("| nothing here\n   | at all\n\n", &ok), "");
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
  EXPECT_EQ(ALGMOD_ParseAmiText(ctx), nullptr);
  EXPECT_EQ(capture.Text(), "");
}

TEST_F(AmiFiles, NamedFilesAreLookedUpInTheIbisFilesFolder) {
  Write("good.ami", kGoodAmi);
  Write("model.so", "");
  Write("model.txt", kGoodAmi);
  MsgCapture capture;
  gulLineNumber = 5;
  ALGMODLIST* head = nullptr;
  ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
  // Records are checked newest first, so the last line is checked first.
  for (const char* line :
       {"Executable Linux_gcc_64 model.so good.ami", "Executable Linux_gcc_32 missing.so gone.ami",
        "Executable Windows_VisualStudio_64 model.so model", "Executable Windows_VisualStudio_32 model.so model.txt"})
    ALGMOD_AddLine(ctx, line, head);
  ALGMOD_EndBlock(ctx, head);
  ALGMOD_MODEL model{"serdes_tx", head};
  ALGMOD_CheckFiles(ctx, &model, 1, dir_.string().c_str());
  EXPECT_EQ(capture.Text(),
            "ERROR - File Name Requires '.ami' Extension.\n"
            "ERROR - AMI Parameter file model should have '.ami' extension. It was defined in [Algorithmic "
            "Model] for Model serdes_tx\n"
            "ERROR - Code file missing.so not found. It was defined in [Algorithmic Model] for Model serdes_tx\n"
            "ERROR - AMI parameter file gone.ami not found. It was defined in [Algorithmic Model] for Model "
            "serdes_tx\n");
  int trees = 0;
  for (ALGMOD* r = head->first; r; r = r->next) trees += r->tree != nullptr;
  EXPECT_EQ(trees, 1);
  EXPECT_NE(head->first->next->next->next->tree, nullptr);  // good.ami, the oldest record
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
  ALGMOD_FreeList(&head);
}

TEST_F(AmiFiles, AFileThatDoesNotParseLeavesNoTree) {
  Write("broken.ami", "(model (Reserved_Parameters\n");
  Write("m.so", "");
  MsgCapture capture;
  ALGMODLIST* head = nullptr;
  ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
  ALGMOD_AddLine(ctx, "Executable Linux_gcc_64 m.so broken.ami", head);
  ALGMOD_MODEL model{"m", head};
  ALGMOD_CheckFiles(ctx, &model, 1, (dir_.string() + "/").c_str());
  EXPECT_NE(capture.Text().find("ERROR - The AMI parameter file has mismatched parenthesis\n"), std::string::npos);
  EXPECT_EQ(head->first->tree, nullptr);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
  ALGMOD_FreeList(&head);
}

}  // namespace
