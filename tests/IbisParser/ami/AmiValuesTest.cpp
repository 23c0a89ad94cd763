// The values an .ami parameter's data format allows, held against each
// other (5703-5705): each case an .ami file checked on its own.
#include "tests/IbisParser/CheckerFiles.h"

#include "IbisParser/ami/AlgMod.h"

namespace {

class AmiValues : public CheckerFiles {
 protected:
  // The findings of a file whose Model_Specific branch holds `parameter`,
  // read for AMI_Version `version`.
  std::string CheckAmi(const std::string& parameter, const std::string& version = "7.1") {
    const std::string text =
        "(m\n (Reserved_Parameters\n"
        "  (AMI_Version (Usage Info) (Type String) (Value \"" +
        version +
        "\") (Description \"v\"))\n"
        "  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True) (Description \"i\"))\n"
        "  (GetWave_Exists (Usage Info) (Type Boolean) (Value True) (Description \"g\")))\n"
        " (Model_Specific\n  " +
        parameter + "))\n";
    const std::string path = Write("t.ami", text);
    RangeFindings found(5700, 5800);
    MsgCapture capture;
    ALGMOD_CheckAmiFile(path.c_str());
    return found.texts;
  }
};

TEST_F(AmiValues, DefaultLiesWithinItsRangeOrIncrement) {
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Range 0.5 0.2 1.0) (Default 1.5) (Description \"a\"))"),
            "amp: Default 1.5 is not a value its Range allows\n");
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Format Increment 0 -4 4 1) (Default -5) (Description \"a\"))"),
            "amp: Default -5 is not a value its Increment allows\n");
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Range 0.5 0.2 1.0) (Default 1.0) (Description \"a\"))"), "");
}

TEST_F(AmiValues, DefaultIsOneOfItsList) {
  EXPECT_EQ(
      CheckAmi("(mode (Usage In) (Type String) (List \"fast\" \"slow\") (Default \"medium\") (Description \"m\"))"),
      "mode: Default medium is not a value its List allows\n");
  // Numbers compare as numbers: 1.0 is the list's 1.
  EXPECT_EQ(CheckAmi("(taps (Usage In) (Type Float) (List 0 1 2) (Default 1.0) (Description \"t\"))"), "");
}

TEST_F(AmiValues, MinNotAboveMaxAndTypBetween) {
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Range 0.5 1.0 0.2) (Description \"a\"))"),
            "amp: Range min 1.0 lies above max 0.2\n");
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Format Range 2 0 1) (Description \"a\"))"),
            "amp: Range typ 2 lies outside min 0 and max 1\n");
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Integer) (Increment 9 0 8 1) (Description \"a\"))"),
            "amp: Increment typ 9 lies outside min 0 and max 8\n");
}

TEST_F(AmiValues, IncrementDeltaIsPositive) {
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Increment 0 -4 4 -1) (Description \"a\"))"),
            "amp: Increment delta -1 is not positive\n");
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Increment 0 -4 4 0.5) (Description \"a\"))"), "");
}

// From 6.0 each sub-branch of a branch has a name of its own (case counts).
TEST_F(AmiValues, SubBranchNamesAreUnique) {
  const std::string amp = "(amp (Usage In) (Type Float) (Value 1) (Description \"a\"))";
  EXPECT_EQ(CheckAmi(amp + "\n  " + amp), "Model_Specific: sub-branch 'amp' is given twice\n");
  EXPECT_EQ(CheckAmi("(eq " + amp + " " + amp + ")"), "eq: sub-branch 'amp' is given twice\n");
  EXPECT_EQ(CheckAmi(amp + "\n  (Amp (Usage In) (Type Float) (Value 1) (Description \"b\"))"), "");
  EXPECT_EQ(CheckAmi(amp + "\n  " + amp, "5.1"), "");
}

// The rules come with 5.1: a file read for 5.0 is not held to them.
TEST_F(AmiValues, NotAppliedBefore51) {
  EXPECT_EQ(CheckAmi("(amp (Usage In) (Type Float) (Format Range 0.5 1.0 0.2) (Default 3) (Description \"a\"))", "5.0"),
            "");
}

}  // namespace
