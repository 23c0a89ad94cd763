// The per-file check: version detection, open rules, line rules, keyword
// recognition against the set of the file's version, and section dispatch.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/Parse.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/Cmn.h"
#include "tests/IbisParser/CheckerFiles.h"

namespace {

using Parse = CheckerFiles;

}  // namespace

TEST(KeywordTables, SetsHoldTheirRowsInIdOrderAndEndAlike) {
  const int sizes[] = {50, 88, 109, 120, 120, 121, 121, 131, 132, 132};
  for (int set = 0; set < KEY_SET_COUNT; ++set) {
    ASSERT_EQ(KEY_TableSize(set), sizes[set]);
    const KEY_ROW* rows = KEY_Table(set);
    int n = KEY_TableSize(set);
    EXPECT_STREQ(rows[n - 3].name, "COMMENT_CHAR");
    EXPECT_EQ(rows[n - 3].id, KEY_COMMENT_CHAR);
    EXPECT_EQ(rows[n - 2].id, KEY_END);
    EXPECT_EQ(rows[n - 1].id, KEY_NOT_KEY);
    for (int i = 1; i < n - 3; ++i) EXPECT_LT(rows[i - 1].id, rows[i].id);
  }
  // Every id of a smaller set is in the larger ones.
  for (int id = 0; id < KEY_ID_COUNT; ++id)
    for (int set = 1; set < KEY_SET_COUNT; ++set) {
      EXPECT_TRUE(!KEY_InSet(set - 1, id) || KEY_InSet(set, id)) << id;
    }
}

TEST(KeywordTables, LookupTakesTheFirstEqualRowWithoutRegardToCase) {
  EXPECT_EQ(KEY_Lookup(KEY_SET_50, "manufacturer"), KEY_MANUFACTURER);
  EXPECT_EQ(KEY_Lookup(KEY_SET_50, "Number_of_Pins"), KEY_NUMBER_OF_PINS);
  EXPECT_EQ(KEY_Lookup(KEY_SET_50, "PULLDOWN"), KEY_PULLDOWN);
  EXPECT_EQ(KEY_Lookup(KEY_SET_32, "MODEL_SELECTOR"), KEY_MODEL_SELECTOR);
  EXPECT_EQ(KEY_Lookup(KEY_SET_21, "MODEL_SELECTOR"), -1);
  EXPECT_EQ(KEY_Lookup(KEY_SET_42, "ALGORITHMIC_MODEL"), -1);
  EXPECT_EQ(KEY_Lookup(KEY_SET_50, "ALGORITHMIC_MODEL"), KEY_ALGORITHMIC_MODEL);
  EXPECT_EQ(KEY_Lookup(KEY_SET_32, "RECEIVER_THRESHOLDS"), -1);
  EXPECT_EQ(KEY_Lookup(KEY_SET_42, "RECEIVER_THRESHOLDS"), 54);
  EXPECT_EQ(KEY_Lookup(KEY_SET_50, "NOT_KEY"), -1);  // the closing row is no keyword
}

TEST_F(Parse, VersionIsDetectedFromTheFirstKeyword) {
  Write("a.ibs", "| comment\n\n  [IBIS_ver]   3.2\n");
  unsigned long lines = 0;
  EXPECT_EQ(CMN_DetectVersion((dir_ / "a").string().c_str(), PARSE_MODE_IBS, &lines), 3);
  EXPECT_EQ(lines, 3u);
  Write("b.ibs", "[Component] x\n[IBIS Ver] 4.2\n");
  EXPECT_EQ(CMN_DetectVersion((dir_ / "b.ibs").string().c_str(), PARSE_MODE_IBS, nullptr), 0);
  Write("c.ibs", "[IBIS Ver] 7.1|comment\n");
  char text[16] = {};
  EXPECT_EQ(CMN_DetectVersionText((dir_ / "c.ibs").string().c_str(), PARSE_MODE_IBS, nullptr, text, sizeof text), 7);
  EXPECT_STREQ(text, "7.1");
  Write("d.ibs", "[IBIS Ver] 8.0\n");
  EXPECT_EQ(CMN_DetectVersion((dir_ / "d.ibs").string().c_str(), PARSE_MODE_IBS, nullptr), 0);
}

TEST_F(Parse, UnrecognisedVersionStopsTheCheck) {
  int result = -1;
  std::string path = Write("t.ibs", "[Component] x\n[IBIS Ver] 4.2\n[Bogus]\n");
  EXPECT_EQ(CheckPath(path, PARSE_MODE_IBS, &result), "ERROR - Could not determine Version for file " + path + "\n");
  EXPECT_EQ(result, 0);
  // Version 1 files have no keyword set of their own.
  EXPECT_NE(Check("[IBIS Ver] 1.1\n", "t.ibs", PARSE_MODE_IBS, &result).find("Could not determine"), std::string::npos);
}

TEST_F(Parse, BannerNamesTheVersionUnlessQuiet) {
  gbParseQuiet = 0;
  std::string path = Write("t.ibs", Header("4.2") + "[End]\n");
  testing::internal::CaptureStdout();
  int result = PARSE_CheckFile(path.c_str(), PARSE_MODE_IBS);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(WithoutCompletenessNotes(out), "\nChecking " + path + " for IBIS 4.2 Compatibility...\n\n");
}

TEST_F(Parse, OpenRules) {
  Write("t.ibs", Header() + "[End]\n");
  int result = -1;
  // A name without extension gets that of the kind; a path without a
  // directory is looked up in the current directory.
  EXPECT_EQ(CheckPath((dir_ / "t").string(), PARSE_MODE_IBS, &result), "");
  EXPECT_EQ(result, 1);
  std::string out = CheckPath((dir_ / "t.txt").string(), PARSE_MODE_IBS, &result);
  EXPECT_EQ(out.rfind("ERROR - File Name Requires '.ibs' Extension.\n", 0), 0u);
  EXPECT_NE(out.find("Could not determine Version for file " + (dir_ / "t.txt").string() + "\n"), std::string::npos);
  EXPECT_EQ(result, 0);
  EXPECT_NE(CheckPath((dir_ / "t.ibs").string(), PARSE_MODE_PKG).find("Requires '.pkg' Extension."), std::string::npos);
  EXPECT_NE(CheckPath((dir_ / "t.ibs").string(), PARSE_MODE_EBD).find("Requires '.ebd' Extension."), std::string::npos);
  EXPECT_NE(
      CheckPath((dir_ / "none.ibs").string()).find("ERROR - Unable To Open File '" + dir_.string() + "/none.ibs'\n"),
      std::string::npos);
  EXPECT_NE(CheckPath(std::string(1100, 'a') + ".ibs").find("ERROR - Unable to assemble filename."), std::string::npos);
  EXPECT_NE(CheckPath(std::string(1022, 'a')).find("ERROR - Unable to append filename extension."), std::string::npos);
}

TEST_F(Parse, OpenRulesTryCaseVariantsAndBackslashes) {
  Write("upper.ibs", Header() + "[End]\n");
  Write("LOWER.IBS", Header() + "[End]\n");
  int result = -1;
  // Extension check and look-up are without regard to case; the names in
  // 1014 are those actually opened.
  std::string out = CheckPath((dir_ / "UPPER.IBS").string(), PARSE_MODE_IBS, &result);
  EXPECT_EQ(result, 1);
  EXPECT_NE(out.find("File name opened 'upper.ibs' not the same as File_name 't.ibs'"), std::string::npos);
  out = CheckPath((dir_ / "lower.ibs").string(), PARSE_MODE_IBS, &result);
  EXPECT_EQ(result, 1);
  EXPECT_NE(out.find("opened 'LOWER.IBS'"), std::string::npos);
  std::string backslashed = dir_.string() + "\\t.ibs";
  Write("t.ibs", Header() + "[End]\n");
  EXPECT_EQ(CheckPath(backslashed, PARSE_MODE_IBS, &result), "");
  EXPECT_EQ(result, 1);
}

TEST_F(Parse, LineLengthLimitFollowsTheVersion) {
  std::string line100 = "| " + std::string(98, 'x') + "\n";
  EXPECT_EQ(Check(Header("4.2") + line100 + "[End]\n"), "");
  EXPECT_EQ(Check(Header("3.2") + line100 + "[End]\n"), "ERROR (line    4) - Exceeds 80 chararacters.\n");
  std::string line121 = "| " + std::string(119, 'x') + "\n";
  EXPECT_EQ(Check(Header("5.0") + line121 + "[End]\n"), "ERROR (line    4) - Exceeds 120 chararacters.\n");
  std::string line80 = "| " + std::string(78, 'x') + "\n";
  EXPECT_EQ(Check(Header("2.1") + line80 + "[End]\n"), "");
}

TEST_F(Parse, LongLinesAreCutAt1023Characters) {
  // The comment character beyond the stored part does not count: the stored
  // part is one long data line of the Notes text.
  std::string line = "[Notes] " + std::string(2000, 'n') + "\n";
  std::string out = Check(Header() + line + "[End]\n");
  EXPECT_EQ(out, "ERROR (line    4) - Exceeds 120 chararacters.\n");
  // An illegal character beyond the stored part is reported without conversion note.
  out = Check(Header() + "| " + std::string(1100, 'x') + "\x01\n[End]\n");
  EXPECT_NE(out.find("Found illegal control character (code 1).\n"), std::string::npos);
}

TEST_F(Parse, CharacterRules) {
  // CR LF and a final Ctrl-Z are line ends; other control characters,
  // NUL and bytes above 0x7F are reported and read as blanks.
  EXPECT_EQ(Check(Header() + "[End]\r\n\x1a"), "");
  EXPECT_EQ(Check(Header() + "[End]"), "");  // no final line feed
  std::string text = Header() +
                     "| a\x01"
                     "b\n| c" +
                     std::string(1, '\0') + "\n| \xe9t\xe9\n[End]\n";
  EXPECT_EQ(Check(text),
            "ERROR (line    4) -\n    Found illegal control character (code 1).  Converting to space.\n"
            "ERROR (line    5) - Found illegal NUL character (code 0).  Converting to space.\n"
            "ERROR (line    6) -\n    Found illegal non-7-bit ASCII character (code e9).  Converting to space.\n"
            "ERROR (line    6) -\n    Found illegal non-7-bit ASCII character (code e9).  Converting to space.\n");
  // A Ctrl-Z that does not end the file is an illegal character.
  EXPECT_NE(Check(Header() + "| \x1a\n[End]\n").find("(code 1a)"), std::string::npos);
  // A lone carriage return is a control character, read as a blank.
  EXPECT_NE(Check(Header() + "[End]\r \n").find("(code d)"), std::string::npos);
  // So is one that ends the file without a line feed after it.
  EXPECT_NE(Check(Header() + "[End]\r").find("(code d)"), std::string::npos);
}

// A file of NUL or binary bytes would print a line per byte: past the 100th
// report in a file one note says so, and the rest are counted only.
TEST_F(Parse, IllegalCharactersPastTheHundredthAreCountedButNotShown) {
  std::string lines;  // lines 4 to 253, four NUL bytes each
  for (int i = 0; i < 250; ++i) lines += "| " + std::string(4, '\0') + "\n";
  const std::string text = Header() + lines + "[End]\n";
  const int32_t errors = glErrorCount;
  const std::string out = Check(text);
  EXPECT_EQ(glErrorCount - errors, 1000);
  EXPECT_EQ(Count(out, "ERROR (line"), 100);
  EXPECT_EQ(out.substr(out.find("ERROR (line   28)")),
            "ERROR (line   28) - Found illegal NUL character (code 0).  Converting to space.\n"
            "ERROR (line   28) - Found illegal NUL character (code 0).  Converting to space.\n"
            "ERROR (line   28) - Found illegal NUL character (code 0).  Converting to space.\n"
            "ERROR (line   28) - Found illegal NUL character (code 0).  Converting to space.\n"
            "NOTE (line   29) - More than 100 illegal characters in this file: further ones are counted but not "
            "shown.\n");
  // Every file has its own hundred; one that names an .ami file too.
  EXPECT_EQ(Check(text), out);
  Write("m.so", "");
  Write("binary.ami", lines +
                          "(m (Reserved_Parameters"
                          " (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False) (Description \"i\"))"
                          " (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"g\"))))\n");
  const std::string model = "[Model] m\n" + ModelBody() +
                            "[Algorithmic Model]\nExecutable Linux_gcc_64 m.so binary.ami\n"
                            "[End Algorithmic Model]\n";
  const int32_t before = glErrorCount;
  const std::string both = Check(Header("5.0") + lines + model + "[End]\n");
  EXPECT_EQ(glErrorCount - before, 2000);
  EXPECT_EQ(Count(both, "Found illegal NUL character"), 200);
  EXPECT_EQ(Count(both, "NOTE (line   29) - More than 100 illegal characters in this file"), 1);  // the .ibs
  EXPECT_EQ(Count(both, "NOTE (line   26) - More than 100 illegal characters in this file"), 1);  // the .ami
  // Silenced errors are neither shown nor counted, and need no note.
  gbMsgSilenceErrors = 1;
  EXPECT_EQ(Check(text), "");
  gbMsgSilenceErrors = 0;
  EXPECT_EQ(glErrorCount - before, 2000);
}

// Sections are appended at the end of their lists (without walking them):
// the models' named files are checked in file order, in every file.
TEST_F(Parse, ModelsKeepTheirFileOrderBetweenComponents) {
  std::string text = Header("5.0");
  std::string expected;
  for (int i = 0; i < 4; ++i) {
    const std::string n = std::to_string(i);
    text += MinimalComponent("c" + n) + "[Model] m" + n + "\n" + ModelBody() +
            "[Algorithmic Model]\nExecutable Linux_gcc_64 x.so m" + n + ".ami\n[End Algorithmic Model]\n";
    expected += "ERROR - Code file x.so not found. It was defined in [Algorithmic Model] for Model m" + n + "\n";
    expected += "ERROR - AMI parameter file m" + n +
                ".ami not found. It was defined in [Algorithmic Model] for Model m" + n + "\n";
  }
  text += "[End]\n";
  EXPECT_EQ(Check(text), expected);
  EXPECT_EQ(Check(text), expected);
}

TEST_F(Parse, TabsAreReportedOncePerFile) {
  std::string text = Header() + "[Notes]\tone\n\ttwo\n[End]\n";
  EXPECT_EQ(Check(text), "WARNING (line    4) - IBIS files should not contain tab characters.\n");
  EXPECT_EQ(Check(text), "WARNING (line    4) - IBIS files should not contain tab characters.\n");
}

TEST_F(Parse, IndentedKeywordsAreReportedButTakenExceptInTexts) {
  std::string out = Check(Header() + " [Model] m\n" + ModelBody() + "[End]\n");
  EXPECT_EQ(out, "ERROR (line    4) - Keywords Must Begin In Column 1.\n");
  EXPECT_EQ(Check(Header() + "[Notes] see\n [see page 3]\n[End]\n"), "");
  EXPECT_EQ(Check(Header() + "[Disclaimer]\n  [c] 2024 [x]\n[End]\n"), "");
}

TEST_F(Parse, CommentCharacter) {
  EXPECT_EQ(Check(Header() + "[Comment Char] #_char\n# a comment\n[Notes] x # y\n[End]\n"), "");
  EXPECT_EQ(Check(Header() + "[comment_char] !_char ! trailing comment\n! note\n[End]\n"), "");
  EXPECT_EQ(Check(Header() + "[Comment Char] a_char\n[End]\n"), "ERROR (line    4) - Invalid Comment Character 'a'.\n");
  EXPECT_EQ(Check(Header() + "[Comment Char] =_char\n[End]\n"), "ERROR (line    4) - Invalid Comment Character '='.\n");
  EXPECT_EQ(Check(Header() + "[Comment Char] #char\n[End]\n"),
            "ERROR (line    4) - Invalid Comment Character Definition.\n");
  EXPECT_EQ(Check(Header() + "[Comment Char]\n[End]\n"), "ERROR (line    4) - Invalid Comment Character Definition.\n");
  EXPECT_EQ(Check(Header() + "[Comment Char] #_char extra\n[End]\n"),
            "ERROR (line    4) - Too Many Line Items For Keyword COMMENT_CHAR.\n");
  // The comment character is reset for every file.
  EXPECT_NE(Check(Header() + "# not a comment here\n[End]\n").find("Orphan Data Line."), std::string::npos);
}

TEST_F(Parse, KeywordsOutsideTheVersionsSetAreInvalid) {
  std::string body = "[Model selector] sel\nm1 first\n[Model] m1\n" + ModelBody() + "[End]\n";
  EXPECT_EQ(Check(Header("3.2") + body), "");
  std::string out = Check(Header("2.1") + body);
  EXPECT_EQ(out,
            "ERROR (line    4) - Invalid Keyword: Model selector\n"
            "ERROR (line    5) - Data for unknown keyword.\nm1 first\n");
}

TEST_F(Parse, MalformedKeywords) {
  EXPECT_EQ(Check(Header() + "[Model m\n[End]\n"), "ERROR (line    4) - Keyword Missing Ending Bracket (']').\n");
  EXPECT_EQ(Check(Header() + "[]\n[End]\n"), "ERROR (line    4) - Invalid Keyword.\n");
  EXPECT_EQ(Check(Header() + "[" + std::string(118, 'K') + "]\n[End]\n"), "ERROR (line    4) - Invalid Keyword.\n");
  // The comment is cut before the keyword is read.
  EXPECT_EQ(Check(Header() + "[Model| x]\n[End]\n"), "ERROR (line    4) - Keyword Missing Ending Bracket (']').\n");
}

TEST_F(Parse, EndKeyword) {
  EXPECT_EQ(Check(Header() + "[End]\n| a comment is fine\n\n[Notes] late\ndata\n"),
            "ERROR (line    7) - Non-comment line exists after 'End' keyword.\n"
            "ERROR (line    8) - Non-comment line exists after 'End' keyword.\n");
  EXPECT_EQ(Check(Header() + "[End] now\n"), "ERROR (line    4) - Extraneous data on End keyword line.\n");
  int result = -1;
  EXPECT_EQ(Check(Header(), "t.ibs", PARSE_MODE_IBS, &result), "ERROR - Required keyword 'End' not found.\n");
  EXPECT_EQ(result, 1);
}

TEST_F(Parse, OpeningKeywordsDependOnTheFileKind) {
  std::string pkg = "[IBIS Ver] 3.2\n[File Name] t.pkg\n[File Rev] 1\n";
  EXPECT_EQ(Check(pkg + "[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n"
                        "[Number Of Sections] 1\n[Number Of Pins] 1\n[Pin Numbers]\n1 Len=0 L=1n /\n"
                        "[End Package Model]\n[End]\n",
                  "t.pkg", PARSE_MODE_PKG),
            "");
  EXPECT_EQ(Check(pkg + "[Component] c\n[End]\n", "t.pkg", PARSE_MODE_PKG),
            "ERROR (line    4) - Illegal keyword for a '.pkg' file.\n");
  EXPECT_EQ(Check(pkg + "[Begin Board Description] b\n[End]\n", "t.pkg", PARSE_MODE_PKG),
            "ERROR (line    4) - Illegal keyword for a '.pkg' file.\n");
  std::string ebd = "[IBIS Ver] 3.2\n[File Name] t.ebd\n[File Rev] 1\n";
  EXPECT_EQ(Check(ebd + "[Begin Board Description] b\n[Manufacturer] me\n[Number Of Pins] 2\n"
                        "[Pin List] signal_name\nA1 a\nA2 b\n[Path Description] p\nPin A1\nLen=0 L=1n /\nPin A2\n"
                        "[End Board Description]\n[End]\n",
                  "t.ebd", PARSE_MODE_EBD),
            "");
  EXPECT_EQ(Check(ebd + "[Model] m\n[Define Package Model] p\n[End]\n", "t.ebd", PARSE_MODE_EBD),
            "ERROR (line    4) - Illegal keyword for a '.ebd' file.\n"
            "ERROR (line    5) - Illegal keyword for a '.ebd' file.\n");
  EXPECT_EQ(Check(Header("3.2") + "[Begin Board Description] b\n[End]\n"),
            "ERROR (line    4) - Illegal keyword for a '.ibs' file.\n");
}

TEST_F(Parse, SecondIbisVerIsReported) {
  std::string out = Check(Header() + MinimalComponent() + "[IBIS Ver] 4.2\n[End]\n");
  EXPECT_EQ(out,
            "ERROR (line   12) - Duplicate IBIS_Ver keyword.\n"
            "ERROR (line   12) - Orphan File Header keyword.\n");
}

TEST_F(Parse, SubmodelKeywordsTakeTheirSubmodelIds) {
  // [Pulldown] in a submodel and [Manufacturer] after [Define Package Model]
  // are keywords of those sections: they neither close them nor reach the
  // component or model sections.
  std::string text = Header("3.2") + "[Model] m\n" + ModelBody() + "[Add Submodel]\ns1 Driving\n" +
                     "[Submodel] s1\nSubmodel_type Dynamic_clamp\n[Submodel Spec]\n[Pulldown]\n0 0 0 0\n1 1 1 1\n"
                     "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n[Model] m2\n" +
                     ModelBody() +
                     "[Pulldown]\n-3.3 -1 -1 -1\n6.6 2 2 2\n"
                     "[Define Package Model] p\n[Manufacturer] me\n[OEM] oem\n[Description] d\n"
                     "[Number Of Sections] 1\n[Number Of Pins] 1\n[Pin Numbers]\n1 Len=0 L=1n /\n"
                     "[End Package Model]\n[End]\n";
  EXPECT_EQ(Check(text), "");
}

TEST_F(Parse, DataBeforeAnyKeywordAndAfterAnUnknownOne) {
  std::string out = Check(Header() + "[Bogus Keyword] x\nsome data\n[End]\n");
  EXPECT_EQ(out,
            "ERROR (line    4) - Invalid Keyword: Bogus Keyword\n"
            "ERROR (line    5) - Data for unknown keyword.\nsome data\n");
}

TEST_F(Parse, ACheckRunsOnItsOwnContext) {
  // A check started while another is in progress (a file named in a file)
  // reads on a context of its own: the caller's stays as it was, and the
  // printer's line number is the last one the checked file read.
  PARSE_CONTEXT ctx;
  Write("inner.pkg", "[IBIS Ver] 2.1\n[File Name] inner.pkg\n[File Rev] 1\n[End]\n");
  ctx.gcCommentChar = '#';
  gulLineNumber = 0;
  EXPECT_EQ(CheckPath((dir_ / "inner.pkg").string(), PARSE_MODE_PKG), "");
  EXPECT_EQ(gulLineNumber, 4u);
  EXPECT_EQ(ctx.gcCommentChar, '#');
}

TEST_F(Parse, AmiFileNamedByAFileIsReadOnANewContext) {
  // The .ami file has its own line numbers, comment character, tab report
  // and illegal-character count; the enclosing file reads on with its own.
  Write("inner.ami", "(m\t(Description \"x\"))\n\x01\n");
  PARSE_CONTEXT ctx;
  ctx.gcCommentChar = '#';
  gulLineNumber = 17;
  ctx.ibisVersion = 3;
  ctx.tabReportArmed = 1;
  ctx.illegalCharacters = 2;
  ctx.currentKeyword = KEY_MODEL;
  std::string out;
  {
    MsgCapture capture;
    PARSE_CONTEXT ami;
    EXPECT_EQ(AMIREAD_ReadFile(ami, (dir_ / "inner.ami").string().c_str()), 1);
    EXPECT_NE(ami.gpszAmiText, nullptr);
    out = capture.Text();
  }
  EXPECT_EQ(Count(out, "tab characters"), 1);
  EXPECT_EQ(Count(out, "illegal control character"), 1);
  EXPECT_EQ(ctx.gcCommentChar, '#');
  EXPECT_EQ(gulLineNumber, 17u);
  EXPECT_EQ(ctx.ibisVersion, 3);
  EXPECT_EQ(ctx.tabReportArmed, 1);
  EXPECT_EQ(ctx.illegalCharacters, 2u);
  EXPECT_EQ(ctx.currentKeyword, KEY_MODEL);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
}

TEST(ParseContext, ANewContextStartsAsAFileDoes) {
  PARSE_CONTEXT ctx;
  EXPECT_EQ(ctx.gcCommentChar, '|');
  EXPECT_EQ(ctx.tabReportArmed, 1);
  EXPECT_EQ(ctx.illegalCharacters, 0u);
  EXPECT_EQ(ctx.currentKeyword, KEY_NOT_KEY);
  EXPECT_EQ(ctx.sectionKeyword, KEY_NOT_KEY);
  EXPECT_EQ(ctx.ibisVersion, 0);
  EXPECT_EQ(ctx.amiBaseRelease, IBIS_RELEASE_50);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
  EXPECT_EQ(ctx.components, nullptr);
  EXPECT_EQ(ctx.models, nullptr);
  // Two contexts share nothing: what one reads the other never sees.
  PARSE_CONTEXT other;
  ctx.gcCommentChar = '!';
  ctx.endSeen = 1;
  EXPECT_EQ(AMIREAD_AppendText(ctx, "(a)", 3), 1);
  EXPECT_EQ(other.gcCommentChar, '|');
  EXPECT_EQ(other.endSeen, 0);
  EXPECT_EQ(other.gpszAmiText, nullptr);
}

TEST(ParseKeyword, ContextRulesMoveSharedNamesToTheirSections) {
  PARSE_CONTEXT ctx;
  ctx.mode = PARSE_MODE_IBS;
  int id = -1;
  auto key = [&id, &ctx](const char* line, int previous) {
    id = -1;
    EXPECT_EQ(PARSE_Keyword(ctx, line, previous, KEY_SET_50, &id), 1) << line;
    return id;
  };
  EXPECT_EQ(key("[Manufacturer] x", KEY_COMPONENT), KEY_MANUFACTURER);
  EXPECT_EQ(key("[Manufacturer] x", KEY_DEFINE_PACKAGE_MODEL), KEY_PKG_MANUFACTURER);
  EXPECT_EQ(key("[Manufacturer] x", KEY_DESCRIPTION), KEY_PKG_MANUFACTURER);
  EXPECT_EQ(key("[Manufacturer] x", KEY_BEGIN_BOARD_DESCRIPTION), KEY_EBD_MANUFACTURER);
  EXPECT_EQ(key("[Manufacturer] x", KEY_NOT_KEY), KEY_MANUFACTURER);
  EXPECT_EQ(key("[Number Of Pins] 4", KEY_DEFINE_PACKAGE_MODEL), KEY_NUMBER_OF_PINS);
  ctx.mode = PARSE_MODE_EBD;
  EXPECT_EQ(key("[Number Of Pins] 4", KEY_BEGIN_BOARD_DESCRIPTION), KEY_EBD_NUMBER_OF_PINS);
  EXPECT_EQ(key("[Pulldown]", KEY_MODEL), KEY_PULLDOWN);
  ctx.inSubmodel = 1;
  EXPECT_EQ(key("[Pulldown]", KEY_SUBMODEL), KEY_SUB_PULLDOWN);
  EXPECT_EQ(key("[pullup]", KEY_SUBMODEL), KEY_SUB_PULLUP);
  EXPECT_EQ(key("[GND Clamp]", KEY_SUBMODEL), KEY_SUB_GND_CLAMP);
  EXPECT_EQ(key("[POWER Clamp]", KEY_SUBMODEL), KEY_SUB_POWER_CLAMP);
  EXPECT_EQ(key("[Ramp]", KEY_SUBMODEL), KEY_SUB_RAMP);
  EXPECT_EQ(key("[Rising Waveform]", KEY_SUBMODEL), KEY_SUB_RISING_WAVEFORM);
  EXPECT_EQ(key("[Falling Waveform]", KEY_SUBMODEL), KEY_SUB_FALLING_WAVEFORM);
  EXPECT_EQ(key("[Rgnd]", KEY_SUBMODEL), 44);  // not a submodel keyword
  {
    MsgCapture capture;
    EXPECT_EQ(PARSE_Keyword(ctx, "[Model  Selector]", KEY_MODEL, KEY_SET_50, &id), 0);  // "_" per blank
    EXPECT_NE(capture.Text().find("Invalid Keyword: Model  Selector"), std::string::npos);
  }
}
