// The check of a parsed .ami text: the tree's shape, the leaves of every
// parameter, and the rules of the reserved parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/ParseContext.h"
#include "amiparam/AmiTree.h"
#include "amiparam/Msg.h"
#include "tests/NestedText.h"
#include "tests/amiparam/MsgCapture.h"

namespace {

const std::string kImpulse = "(Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False) (Description \"no\"))";
const std::string kGetWave = "(GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"yes\"))";

// Parses `text` as the .ami reader would hand it over; returns the messages.
std::string Check(const std::string& text, bool* parsed = nullptr) {
  MsgCapture capture;
  PARSE_CONTEXT ctx;
  AMIREAD_AppendText(ctx, text.data(), text.size());
  AMITREE* tree = ALGMOD_ParseAmiText(ctx);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
  if (parsed) *parsed = tree != nullptr;
  if (tree) AMITREE_Free(&tree);
  return capture.Text();
}

// A file with the two mandatory reserved parameters and `more` inside
// Reserved_Parameters.
std::string Reserved(const std::string& more) {
  return "(model (Reserved_Parameters " + kImpulse + " " + kGetWave + " " + more + "))";
}

TEST(AlgModTree, WellFormedFilePassesSilently) {
  bool parsed = false;
  EXPECT_EQ(Check(Reserved(""), &parsed), "");
  EXPECT_TRUE(parsed);
  EXPECT_EQ(Check("(model (Description \"a model\") (Reserved_Parameters " + kImpulse + kGetWave +
                  ") (Model_Specific (gain (Usage In) (Type Float) (Format Range 1 0 2) (Default 1)"
                  " (Description \"g\")) (taps (t1 (Usage In) (Type Tap) (Format List -1 0.5 x)))))"),
            "");
}

TEST(AlgModTree, NoTextGivesNoTreeAndNoMessage) {
  PARSE_CONTEXT ctx;
  ASSERT_EQ(ctx.gpszAmiText, nullptr);
  MsgCapture capture;
  EXPECT_EQ(ALGMOD_ParseAmiText(ctx), nullptr);
  EXPECT_EQ(capture.Text(), "");
}

TEST(AlgModTree, ParserResultsMapToTheirMessages) {
  bool parsed = true;
  EXPECT_EQ(Check("(model (a 1)", &parsed), "ERROR - The AMI parameter file has mismatched parenthesis\n");
  EXPECT_FALSE(parsed);
  EXPECT_EQ(Check("model (a 1)"), "ERROR - The AMI parameter file should start with a parenthesis\n");
  EXPECT_EQ(Check("(a 1)"), "ERROR - Too few nodes in branches or leaves\n");
  EXPECT_EQ(Check("(model (a))"), "ERROR - Too few nodes in branches or leaves\n");
  EXPECT_EQ(Check("(model (a ) (b 1))"),
            "ERROR -\n    Invalid syntax of branch or leaf. At least 2 elements expected in a list\n");
  EXPECT_EQ(Check("(a (x 1)) (b (y 2))"), "PROGRAM BUG - Internal error while parsing AMI Parameter file\n");
}

TEST(AlgModTree, TreeWithoutReservedParametersIsReported) {
  EXPECT_EQ(Check("(model (Model_Specific (x (Usage In) (Type Float))))"), "ERROR - No Reserved_Parameters found\n");
  EXPECT_EQ(Check("(model (Other (x 1)))"),
            "ERROR - Unknown branch Other found\nERROR - No Reserved_Parameters found\n");
}

TEST(AlgModTree, MandatoryReservedParametersAreReported) {
  EXPECT_EQ(Check("(model (Reserved_Parameters " + kGetWave + "))"),
            "ERROR - Init_Returns_Impulse parameter is mandatory\n");
  EXPECT_EQ(Check("(model (Reserved_Parameters " + kImpulse + "))"), "ERROR - GetWave_Exists parameter is mandatory\n");
}

TEST(AlgModTree, GetWaveExistsWithoutDescriptionAndWithFormat) {
  const std::string noDescription = "(GetWave_Exists (Usage Info) (Type Boolean) (Default True))";
  EXPECT_EQ(Check("(model (Reserved_Parameters " + kImpulse + noDescription + "))"),
            "ERROR - Parameter Description is mandatory for GetWave_Exists\n");
  const std::string withFormat = "(GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Format Value 1))";
  EXPECT_EQ(Check("(model (Reserved_Parameters " + kImpulse + withFormat + "))"),
            "ERROR - Parameter Description is mandatory for GetWave_Exists\n"
            "ERROR - Unexpected parameter Format specified for GetWave_Exists\n");
}

TEST(AlgModTree, TxJitterFormats) {
  const std::string head = "(Tx_Jitter (Usage Info) (Type Float) ";
  const std::string tail = " (Description \"x\"))";
  EXPECT_EQ(Check(Reserved(head + "(Format Gaussian 0 1e-12)" + tail)), "");
  EXPECT_EQ(Check(Reserved(head + "(Format Gaussian 0)" + tail)),
            "ERROR - Gaussian: Illegal Format for Tx_Jitter. Expected 2 number(s)\n"
            "ERROR - Parameter Format is mandatory for Tx_Jitter\n");
  // A Format list that holds values and then lists is dropped by the parser.
  EXPECT_EQ(Check(Reserved(head + "(Format Table (Labels a b) (1 2))" + tail)),
            "ERROR - Parameter Format is mandatory for Tx_Jitter\n");
  EXPECT_EQ(Check(Reserved(head + "(Format Table)" + tail)), "");
  EXPECT_EQ(Check(Reserved(head + "(Format Dual-Dirac 0 1e-12 1e-12)" + tail)), "");
  EXPECT_EQ(Check(Reserved(head + "(Format Range 0 0 1)" + tail)),
            "ERROR - Illegal Format value Range specified for Tx_Jitter\n"
            "ERROR - Parameter Format is mandatory for Tx_Jitter\n");
  EXPECT_EQ(Check(Reserved(head + tail)), "ERROR - Parameter Format is mandatory for Tx_Jitter\n");
}

TEST(AlgModTree, ReservedUsageTypeAndDefaultOutsideTheRules) {
  EXPECT_EQ(Check(Reserved("(Use_Init_Output (Usage In) (Type Integer) (Default 1) (Description \"d\"))")),
            "ERROR - Illegal Usage value In specified for Use_Init_Output\n"
            "ERROR - Illegal Type value Integer specified for Use_Init_Output\n"
            "ERROR - Illegal Default value 1 specified for Use_Init_Output\n"
            "ERROR - Parameter Default is mandatory for Use_Init_Output\n");
  EXPECT_EQ(Check(Reserved("(Ignore_Bits (Usage Out) (Type Integer) (Default 1.5) (Description \"d\"))")),
            "ERROR - Illegal Default value 1.5 specified for Ignore_Bits\n"
            "ERROR - Parameter Default is mandatory for Ignore_Bits\n");
  // An optional Default of the wrong kind is still reported.
  EXPECT_EQ(Check(Reserved("(Tx_DCD (Usage Info) (Type UI) (Format Value 0.1) (Default x) (Description \"d\"))")),
            "ERROR - Illegal Default value x specified for Tx_DCD\n");
  EXPECT_EQ(Check(Reserved("(Rx_Receiver_Sensitivity (Usage Info) (Type UI) (Format Corner 1 0 2)"
                           " (Description \"d\"))")),
            "ERROR - Illegal Type value UI specified for Rx_Receiver_Sensitivity\n");
}

TEST(AlgModTree, ReservedParameterShapesAreReported) {
  EXPECT_EQ(Check(Reserved("(Max_Init_Aggressors (Usage Info) (Type Integer) (Default 3) (Labels a b)"
                           " (Sub (x 1)) (Description \"d\"))")),
            "ERROR - Unknown parameter Labels found as a child of Max_Init_Aggressors\n"
            "ERROR - Found a branch Sub expecting a leaf for Max_Init_Aggressors\n");
  // A leaf in Reserved_Parameters is reported and then checked as any leaf;
  // an unknown branch is reported and walked.
  EXPECT_EQ(Check(Reserved("(Usage Sometimes) (AMI_Version (Usage Info) (Type Strange))")),
            "ERROR - Expected a branch but found 'Usage'  as a leaf of 'Reserved_Parameters'\n"
            "ERROR - Illegal Usage value Sometimes specified for Reserved_Parameters\n"
            "ERROR - Unknown parameter AMI_Version found as a child of Reserved_Parameters\n"
            "ERROR - Illegal Type value Strange specified for AMI_Version\n");
}

TEST(AlgModTree, ModelSpecificLeavesAreChecked) {
  const std::string head = Reserved("").substr(0, Reserved("").size() - 1) + " (Model_Specific (p ";
  auto leaf = [&](const std::string& leaves) { return Check(head + leaves + ")))"); };
  EXPECT_EQ(leaf("(Usage Always)"), "ERROR - Illegal Usage value Always specified for p\n");
  EXPECT_EQ(leaf("(Type Tap) (Type Float) (Type 3)"), "ERROR - Illegal Type value 3 specified for p\n");
  EXPECT_EQ(leaf("(Format Range 1 2)"), "ERROR - Range: Illegal Format for p. Expected 3 number(s)\n");
  EXPECT_EQ(leaf("(Format Range 1 2 x)"), "ERROR - Range: Illegal Format for p. Expected 3 number(s)\n");
  EXPECT_EQ(leaf("(Format Value \"s\")"), "ERROR - Value: Illegal Format for p. Expected 1 number(s)\n");
  EXPECT_EQ(leaf("(Format Increment 1 0 4 1)"), "");
  EXPECT_EQ(leaf("(Format Steps 1 0 4)"), "ERROR - Steps: Illegal Format for p. Expected 4 number(s)\n");
  EXPECT_EQ(leaf("(Format List)"), "ERROR - List: Illegal Format for p. Expected 1 number(s)\n");
  EXPECT_EQ(leaf("(Format Sometimes 1)"), "ERROR - Illegal Format value Sometimes specified for p\n");
  EXPECT_EQ(leaf("(Labels x) (Default q) (Description \"\")"), "");
}

// Parameter groups nested a million deep in Model_Specific: the walk keeps
// its own stack (as it does for an unknown branch of Reserved_Parameters), so
// the leaf at the bottom is reached and checked whatever the call stack.
TEST(AlgModTree, BranchesNestedAMillionDeepAreWalked) {
  const std::string text = "(model (Reserved_Parameters " + kImpulse + kGetWave + ") (Model_Specific " +
                           Nest(kDeepNesting, "(bottom (Usage Always))") + "))";
  bool parsed = false;
  EXPECT_EQ(Check(text, &parsed), "ERROR - Illegal Usage value Always specified for bottom\n");
  EXPECT_TRUE(parsed);
}

}  // namespace
