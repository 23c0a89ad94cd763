// The versions after 5.0: [IBIS Ver] 5.1 to 7.2 are recognised, each keyword
// set holds the one before it plus the keywords its version added, and the
// reserved .ami parameters follow the version an .ami file is checked for.
// For every version, a keyword and a reserved parameter new in it pass at
// that version and are flagged at the one before.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/Parse.h"
#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/AmiTree.h"
#include "tests/IbisParser/CheckerFiles.h"

namespace {

using Versions = CheckerFiles;

// A file of version `version` with `component` inside a component, `model`
// inside a model and `top` after them.
std::string File(const std::string& version, const std::string& component, const std::string& model = "",
                 const std::string& top = "") {
  return "[IBIS Ver] " + version + "\n[File Name] t.ibs\n[File Rev] 1.0\n" + MinimalComponent() + component +
         "[Model] m\n" + ModelBody("Output") + model + top + "[End]\n";
}

struct NewKeyword {
  const char* version;
  const char* previous;
  const char* component;
  const char* model;
  const char* top;
  const char* flagged;  // the keyword as reported at the previous version
};

// One keyword (with its data line) that each version added, where it goes.
const NewKeyword kNewKeywords[] = {
    {"6.0", "5.1", "[Repeater Pin] tx_non_inv_pin\n1 1\n", "", "", "Repeater Pin"},
    {"7.0", "6.1", "[Die Supply Pads] signal_name bus_label\nVDD VDD\n", "", "", "Die Supply Pads"},
    {"7.0", "6.1", "[Bus Label] signal_name\nVDD VDD\n", "", "", "Bus Label"},
    {"7.0", "6.1", "[Interconnect Model Group] g\n[End Interconnect Model Group]\n", "", "",
     "Interconnect Model Group"},
    {"7.0", "6.1", "", "[C Comp Model] cc\n[End C Comp Model]\n", "", "C Comp Model"},
    {"7.0", "6.1", "", "",
     "[Interconnect Model Set] s\n[Interconnect Model] i\nFile_TS t.ibs\nNumber_of_terminals = 2\n1 Pin_I/O 1\n"
     "2 Pin_I/O 2\n[End Interconnect Model]\n[End Interconnect Model Set]\n",
     "Interconnect Model Set"},
    {"7.1", "7.0", "[Clock Pins] clocked_pins relationship\n1 1 in_phase\n", "", "", "Clock Pins"},
};

// A reserved .ami parameter that each version added.
struct NewParameter {
  int release;
  int previous;
  const char* branch;
};

const NewParameter kNewParameters[] = {
    {IBIS_RELEASE_51, IBIS_RELEASE_50, "(Tx_Rj (Usage Info) (Type Float) (Value 1e-12) (Description \"r\"))"},
    {IBIS_RELEASE_60, IBIS_RELEASE_51,
     "(Modulation (Usage Info) (Type String) (List \"NRZ\" \"PAM4\") (Description \"m\"))"},
    {IBIS_RELEASE_61, IBIS_RELEASE_60,
     "(Rx_GaussianNoise (Usage Info) (Type Float) (Value 0.001) (Description \"n\"))"},
    {IBIS_RELEASE_70, IBIS_RELEASE_61,
     "(BCI_Protocol (Usage Info) (Type String) (Value \"proto\") (Description \"b\"))"},
    {IBIS_RELEASE_71, IBIS_RELEASE_70,
     "(Rx_Use_Clock_Input (Usage Info) (Type String) (Value \"Times\") (Description \"c\"))"},
    {IBIS_RELEASE_72, IBIS_RELEASE_71, "(Rx_Decision_Time (Usage Info) (Type UI) (Value 0.5) (Description \"t\"))"},
};

const std::string kImpulse = "(Init_Returns_Impulse (Usage Info) (Type Boolean) (Value False) (Description \"no\"))";
const std::string kGetWave = "(GetWave_Exists (Usage Info) (Type Boolean) (Value True) (Description \"yes\"))";

// The messages of checking `text` as an .ami file named by an IBIS file of `release`.
std::string CheckAmi(const std::string& text, int release) {
  MsgCapture capture;
  PARSE_CONTEXT ctx;
  ctx.amiBaseRelease = release;
  AMIREAD_AppendText(ctx, text.data(), text.size());
  AMITREE* tree = ALGMOD_ParseAmiText(ctx);
  if (tree) AMITREE_Free(&tree);
  return capture.Text();
}

// Reserved parameters with AMI_Version `version` (none when empty) and `more`.
std::string Ami(const std::string& version, const std::string& more) {
  std::string amiVersion =
      version.empty() ? "" : "(AMI_Version (Usage Info) (Type String) (Value \"" + version + "\") (Description \"v\"))";
  return "(m (Reserved_Parameters " + amiVersion + kImpulse + kGetWave + more + "))";
}

}  // namespace

TEST(IbisVersions, EveryVersionHasItsRuleSetAndBannerName) {
  const struct {
    const char* text;
    int release;
    const char* name;
  } cases[] = {{"2.0", 21, "2.1"}, {"3.1", 32, "3.2"}, {"4.1", 42, "4.2"}, {"5.0", 50, "5.0"}, {"5.1", 51, "5.1"},
               {"6.0", 60, "6.0"}, {"6.1", 61, "6.1"}, {"7.0", 70, "7.0"}, {"7.1", 71, "7.1"}, {"7.2", 72, "7.2"}};
  for (const auto& c : cases) {
    const IBIS_VERSION* v = IBISVER_Find(c.text);
    ASSERT_NE(v, nullptr) << c.text;
    EXPECT_EQ(v->release, c.release);
    EXPECT_STREQ(IBISVER_Name(v->release), c.name);
  }
  for (const char* unknown : {"7.3", "8.0", "6.2", "5.2", "7", "7.2 ", ""}) EXPECT_EQ(IBISVER_Find(unknown), nullptr);
}

TEST(IbisVersions, LaterSetsAddTheirKeywordsAfterTheOldIds) {
  // 5.1, 6.1 and 7.2 added no keyword; the ids of 5.0 and before keep their sets.
  const int sizes[] = {50, 88, 109, 120, 120, 121, 121, 131, 132, 132};
  for (int set = 0; set < KEY_SET_COUNT; ++set) EXPECT_EQ(KEY_TableSize(set), sizes[set]) << set;
  for (int id = 0; id < KEY_NOT_KEY; ++id) EXPECT_EQ(KEY_InSet(KEY_SET_72, id), KEY_InSet(KEY_SET_50, id)) << id;
  EXPECT_EQ(KEY_Lookup(KEY_SET_51, "REPEATER_PIN"), -1);
  EXPECT_EQ(KEY_Lookup(KEY_SET_60, "Repeater_Pin"), KEY_REPEATER_PIN);
  EXPECT_EQ(KEY_Lookup(KEY_SET_70, "CLOCK_PINS"), -1);
  EXPECT_EQ(KEY_Lookup(KEY_SET_71, "CLOCK_PINS"), KEY_CLOCK_PINS);
  EXPECT_EQ(KEY_SectionOf(KEY_CLOCK_PINS), KEY_SECTION_COMPONENT);
  EXPECT_EQ(KEY_SectionOf(KEY_C_COMP_MODEL), KEY_SECTION_MODEL);
  EXPECT_EQ(KEY_SectionOf(KEY_END_INTERCONNECT_MODEL_SET), KEY_SECTION_INTERCONNECT);
}

TEST_F(Versions, KeywordNewInAVersionPassesThereAndIsFlaggedBefore) {
  for (const NewKeyword& k : kNewKeywords) {
    EXPECT_EQ(Check(File(k.version, k.component, k.model, k.top)), "") << k.flagged << " at " << k.version;
    const std::string before = Check(File(k.previous, k.component, k.model, k.top));
    EXPECT_NE(before.find(std::string("Invalid Keyword: ") + k.flagged), std::string::npos)
        << k.flagged << " at " << k.previous << "\n"
        << before;
  }
}

TEST_F(Versions, BannerNamesTheVersionAndOnlyKnownSixAndSevenAreChecked) {
  PARSE_CONTEXT ctx;
  gbParseQuiet = 0;
  const std::string path = Write("t.ibs", File("7.2", ""));
  testing::internal::CaptureStdout();
  EXPECT_EQ(PARSE_CheckFileOn(ctx, path.c_str(), PARSE_MODE_IBS), 1);
  EXPECT_EQ(WithoutCompletenessNotes(testing::internal::GetCapturedStdout()),
            "\nChecking " + path + " for IBIS 7.2 Compatibility...\n\n");
  gbParseQuiet = 1;
  EXPECT_EQ(ctx.ibisVersion, 7);
  EXPECT_EQ(ctx.ibisRelease, IBIS_RELEASE_72);
  // A version above the newest known one stays an error.
  int result = -1;
  for (const char* later : {"7.3", "8.0", "6.2"}) {
    const std::string out = Check(File(later, ""), "t.ibs", PARSE_MODE_IBS, &result);
    EXPECT_NE(out.find("Could not determine Version"), std::string::npos) << later;
    EXPECT_EQ(result, 0);
  }
  // A 5.x value the table lacks is read with the 5.0 set and reported by the header, as before.
  EXPECT_EQ(Check(File("5.2", "")), "ERROR (line    1) - Illegal IBIS_Version '5.2'.\n");
}

TEST_F(Versions, LineLengthAndFileNameRulesOfLaterVersions) {
  // From 4.0 on, lines of up to 120 characters (IBIS 7.2 §3).
  const std::string longNote = "[Notes] " + std::string(112, 'x') + "\n";
  EXPECT_EQ(Check(File("7.2", "") + ""), "");
  const std::string text = "[IBIS Ver] 7.1\n[File Name] t.ibs\n[File Rev] 1.0\n" + longNote + Component() + "[End]\n";
  EXPECT_EQ(Check(text), "");
  const std::string tooLong = "[IBIS Ver] 6.0\n[File Name] t.ibs\n[File Rev] 1.0\n[Notes] " + std::string(113, 'x') +
                              "\n" + Component() + "[End]\n";
  EXPECT_EQ(Check(tooLong), "ERROR (line    4) - Exceeds 120 chararacters.\n");
}

TEST(AmiVersions, ParameterNewInAVersionPassesThereAndIsFlaggedBefore) {
  for (const NewParameter& p : kNewParameters) {
    const std::string name = std::string(p.branch).substr(1, std::string(p.branch).find(' ') - 1);
    const std::string at = IBISVER_Name(p.release);
    EXPECT_EQ(CheckAmi(Ami(at, p.branch), p.release), "") << name;
    // Flagged when the file's AMI_Version (or, for 5.0, the IBIS file) is the one before.
    const std::string previous = p.previous == IBIS_RELEASE_50 ? "" : IBISVER_Name(p.previous);
    const std::string out = CheckAmi(Ami(previous, p.branch), p.previous);
    EXPECT_NE(out.find("Unknown parameter " + name + " found as a child of Reserved_Parameters\n"), std::string::npos)
        << name << "\n"
        << out;
  }
}

TEST(AmiVersions, AmiVersionChoosesTheRulesAndIsRequiredFromFiveOne) {
  // Checked for 7.1 by the IBIS file, for 5.1 by its own AMI_Version: Rx_Use_Clock_Input is unknown then.
  gbParseQuiet = 1;
  const std::string clock = kNewParameters[4].branch;
  EXPECT_NE(CheckAmi(Ami("5.1", clock), IBIS_RELEASE_71).find("Unknown parameter Rx_Use_Clock_Input"),
            std::string::npos);
  EXPECT_EQ(CheckAmi(Ami("", clock), IBIS_RELEASE_71), "ERROR - AMI_Version parameter is mandatory\n");
  EXPECT_EQ(CheckAmi(Ami("5.4", ""), IBIS_RELEASE_51), "ERROR - Illegal Value value 5.4 specified for AMI_Version\n");
  gbParseQuiet = 0;
  EXPECT_EQ(CheckAmi(Ami("7.2", ""), IBIS_RELEASE_50), "NOTE - Reserved parameters checked for AMI_Version 7.2\n");
}

TEST(AmiVersions, RulesFromFiveOne) {
  // Values come from Default or a data format, as (Format Value x) or (Value x).
  const std::string withDefault =
      "(Ignore_Bits (Usage Info) (Type Integer) (Default 4) (Description \"i\"))"
      "(Tx_DCD (Usage Info) (Type UI) (Format Range 0.01 0 0.1) (Description \"d\"))"
      "(Tx_Jitter (Usage Out) (Type Float) (Table (Labels a b) (1 2)) (Description \"j\"))";
  EXPECT_EQ(CheckAmi(Ami("5.1", withDefault), IBIS_RELEASE_51), "");
  EXPECT_EQ(
      CheckAmi(Ami("5.1", "(Max_Init_Aggressors (Usage Info) (Type Integer) (Description \"a\"))"), IBIS_RELEASE_51),
      "ERROR - Parameter Value is mandatory for Max_Init_Aggressors\n");
  EXPECT_EQ(CheckAmi(Ami("5.1", "(Tx_Rj (Usage In) (Type String) (Range 1 0 2) (Default 1.5) (Description \"r\"))"),
                     IBIS_RELEASE_51),
            "ERROR - Illegal Usage value In specified for Tx_Rj\n"
            "ERROR - Illegal Type value String specified for Tx_Rj\n");
  EXPECT_EQ(CheckAmi(Ami("5.1", "(Tx_Rj (Usage Info) (Type Float) (Gaussian 0 1) (Labels x) (Description \"r\"))"),
                     IBIS_RELEASE_51),
            "ERROR - Illegal Format value Gaussian specified for Tx_Rj\n"
            "ERROR - Parameter Value is mandatory for Tx_Rj\n");
  EXPECT_EQ(CheckAmi(Ami("5.1", "(Ignore_Bits (Usage Info) (Type Integer) (Value x) (Default 1.5) (Other 1))"),
                     IBIS_RELEASE_51),
            "ERROR - Value: Illegal Format for Ignore_Bits. Expected 1 number(s)\n"
            "ERROR - Unknown parameter Other found as a child of Ignore_Bits\n"
            "ERROR - Illegal Default value 1.5 specified for Ignore_Bits\n"
            "ERROR - Parameter Description is mandatory for Ignore_Bits\n");
  // Usage Dep exists from 5.1 on; Reserved_Parameters must come first.
  const std::string dep = "(Model_Specific (p (Usage Dep) (Type Float)))";
  EXPECT_EQ(CheckAmi("(m (Reserved_Parameters (AMI_Version (Usage Info) (Type String) (Value \"5.1\") (Description "
                     "\"v\"))" +
                         kImpulse + kGetWave + ")" + dep + ")",
                     IBIS_RELEASE_51),
            "");
  EXPECT_EQ(CheckAmi("(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False) "
                     "(Description \"n\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) "
                     "(Description \"y\")))" +
                         dep + ")",
                     IBIS_RELEASE_50),
            "ERROR - Illegal Usage value Dep specified for p\n");
  EXPECT_EQ(CheckAmi("(m " + dep + Ami("5.1", "").substr(3), IBIS_RELEASE_51),
            "ERROR - Model_Specific found before Reserved_Parameters (AMI_Version 5.1 on)\n");
}
