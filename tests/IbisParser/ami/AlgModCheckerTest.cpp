// [Algorithmic Model] blocks inside .ibs files, through the whole file check:
// the block's lines reach the block checks, and after the file the named
// files are looked up next to it and the .ami file is read and checked.
#include "tests/IbisParser/CheckerFiles.h"

#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/ParseContext.h"

namespace {

const char kAmi[] =
    "(serdes\n"
    "  (Reserved_Parameters\n"
    "    (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False) (Description \"no\"))\n"
    "    (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"yes\"))))\n";

// The lines of a model body after its Model_type line, so that the block
// keeps its line numbers.
std::string AfterModelType(const std::string& body) { return body.substr(body.find('\n') + 1); }

std::string Ibs(const std::string& block) {
  return "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1.0\n"
         "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 1 1\nL_pkg 1n 1n 1n\nC_pkg 1p 1p 1p\n"
         "[Pin] signal_name model_name\n1 a serdes\n"
         "[Model] serdes\nModel_type Output\n" +
         block + AfterModelType(ModelBody("Output")) + "[End]\n";
}

using AlgModChecker = CheckerFiles;

TEST_F(AlgModChecker, BlockFilesAreFoundNextToTheIbisFile) {
  Write("serdes.ami", kAmi);
  Write("serdes.so", "");
  std::string out =
      Check(Ibs("[Algorithmic Model]\n"
                "Executable Linux_gcc_64 serdes.so serdes.ami | the library\n"
                "[End Algorithmic Model]\n"));
  EXPECT_EQ(Count(out, "ERROR"), 0) << out;
  EXPECT_EQ(Count(out, "WARNING"), 0) << out;
}

TEST_F(AlgModChecker, BlockMessagesCarryTheirLinesAndTheModelName) {
  Write("serdes.ami", "(serdes (Model_Specific (x (Usage In))))\n");
  std::string out =
      Check(Ibs("[Algorithmic Model]\n"
                "Executable Linux_gcc_48 serdes.so serdes.ami\n"
                "Executable Linux_gcc_64 serdes.dll\n"
                "[End Algorithmic Model]\n"));
  EXPECT_EQ(
      Count(out, "ERROR (line   16) -\n    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 4\n"), 1)
      << out;
  EXPECT_EQ(Count(out,
                  "ERROR - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
                  "Algorithmic Model defined on line 14\n"),
            1)
      << out;
  EXPECT_EQ(Count(out,
                  "ERROR - Code file serdes.so not found. It was defined in [Algorithmic Model] for Model "
                  "serdes\n"),
            1)
      << out;
  EXPECT_EQ(Count(out, "ERROR - No Reserved_Parameters found\n"), 1) << out;
}

TEST_F(AlgModChecker, AmiFilesAreCheckedDirectlyInTheirOwnMode) {
  PARSE_CONTEXT ctx;
  int result = 0;
  EXPECT_EQ(Check(kAmi, "direct.ami", PARSE_MODE_AMI, &result), "");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(CheckPathOn(ctx, (dir_ / "direct.ami").string(), PARSE_MODE_AMI), "");
  EXPECT_NE(ctx.gpszAmiText, nullptr);
  ALGMOD_ReleaseAmiText(ctx);
  EXPECT_EQ(Check(kAmi, "direct.txt", PARSE_MODE_AMI, &result), "ERROR - File Name Requires '.ami' Extension.\n");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(CheckPath((dir_ / "absent.ami").string(), PARSE_MODE_AMI, &result).find("ERROR - Unable To Open File"), 0u);
  EXPECT_EQ(result, 0);
}

TEST_F(AlgModChecker, OneAmiFileIsReadParsedAndChecked) {
  PARSE_CONTEXT ctx;
  std::string path = Write("one.ami", "(one (Model_Specific (x (Usage Maybe))))\n");
  MsgCapture capture;
  EXPECT_EQ(ALGMOD_CheckAmiFile(path.c_str()), 1);
  EXPECT_EQ(capture.Text(),
            "ERROR - Illegal Usage value Maybe specified for x\nERROR - No Reserved_Parameters found\n");
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
  EXPECT_EQ(ALGMOD_CheckAmiFile((dir_ / "none.ami").string().c_str()), 0);
}

// On its own, an .ami file's banner names the version its AMI_Version
// chooses; without one, or with one the checker does not know, it stays 5.0.
TEST_F(AlgModChecker, StandaloneBannerNamesTheDeclaredAmiVersion) {
  struct Case {
    const char* version;
    const char* expected;
  };
  const Case cases[] = {
      {"(Value \"7.2\")", "7.2"},
      {"(Description \"was (Value \")(Default \"6.1\")", "6.1"},  // a quoted text is skipped
      {"(Format Value \"5.1\")", "5.1"},
      {"(Value \"9.9\")", "5.0"},
      {nullptr, "5.0"},
  };
  for (const Case& c : cases) {
    std::string reserved = "(Reserved_Parameters (Init_Returns_Impulse (Usage Info)(Type Boolean)(Value True))";
    if (c.version) reserved += "(AMI_Version (Usage Info)(Type String)" + std::string(c.version) + ")";
    const std::string path = Write("v.ami", "(v " + reserved + "))\n");
    gbParseQuiet = 0;
    testing::internal::CaptureStdout();
    ALGMOD_CheckAmiFile(path.c_str());
    const std::string out = testing::internal::GetCapturedStdout();
    gbParseQuiet = 1;
    EXPECT_EQ(out.substr(0, out.find("\n\n", 1) + 2),
              "\nChecking " + path + " for IBIS " + c.expected + " Compatibility...\n\n")
        << (c.version ? c.version : "none");
  }
}

}  // namespace
