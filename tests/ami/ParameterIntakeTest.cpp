#include "ami/ParameterIntake.h"

#include "amiparam/AmiParameters.h"
#include "model/tessalune_tx.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kEmphasisSentence =
    "The IBIS-AMI model, tessalune_tx, is unable to initialize the parameter "
    "emphasis from the AMI_Init arguments.  The model will use the default "
    "setting. ";
const std::string kVregSentence =
    "The IBIS-AMI model, tessalune_tx, is unable to initialize the parameter "
    "Vreg from the AMI_Init arguments.  The model will use the default setting. ";
const std::string kCornerSentence =
    "The IBIS-AMI model, tessalune_tx, is unable to initialize the parameter "
    "corner from the AMI_Init arguments.  The model will use the default "
    "setting. ";

struct Intake {
  double emphasis, vreg, corner;
  std::string message;
};

Intake Read(const char* text) {
  tessalune_tx model;
  testing::internal::CaptureStdout();  // the parser's own diagnostics
  const AmiParameters parameters(text);
  ReadModelParameters(parameters, model);
  testing::internal::GetCapturedStdout();
  return {model.emphasis, model.Vreg, model.corner, model.MessageText};
}

}  // namespace

TEST(ParameterIntake, AllThreeFound) {
  const Intake r = Read("(tessalune_tx (emphasis 3) (Vreg 1) (corner 0))");
  EXPECT_EQ(r.emphasis, 3.0);
  EXPECT_EQ(r.vreg, 1.0);
  EXPECT_EQ(r.corner, 0.0);
  EXPECT_EQ(r.message, "");
}

TEST(ParameterIntake, UnparsableStringKeepsDefaultsAndAddsAllSentencesInOrder) {
  for (const char* text : {"tessalune_tx (emphasis 3)", "", "(tessalune_tx (emphasis 3)"}) {
    const Intake r = Read(text);
    EXPECT_EQ(r.emphasis, 0.0);
    EXPECT_EQ(r.vreg, 2.0);
    EXPECT_EQ(r.corner, 2.0);
    EXPECT_EQ(r.message, kEmphasisSentence + kVregSentence + kCornerSentence) << text;
  }
}

TEST(ParameterIntake, EachMissingOrNonNumericParameterAddsItsOwnSentence) {
  Intake r = Read("(tessalune_tx (emphasis 2) (corner 1))");
  EXPECT_EQ(r.emphasis, 2.0);
  EXPECT_EQ(r.vreg, 2.0);
  EXPECT_EQ(r.corner, 1.0);
  EXPECT_EQ(r.message, kVregSentence);

  for (const char* text :
       {"(tessalune_tx (emphasis 1) (Vreg True) (corner 1))", "(tessalune_tx (emphasis 1) (Vreg high) (corner 1))",
        "(tessalune_tx (emphasis 1) (vreg 0) (corner 1))"}) {
    r = Read(text);
    EXPECT_EQ(r.vreg, 2.0) << text;
    EXPECT_EQ(r.message, kVregSentence) << text;
  }

  r = Read("(tessalune_tx (Model_Specific (emphasis 2)) (Vreg 0.5) (corner -1e0))");
  EXPECT_EQ(r.emphasis, 0.0);
  EXPECT_EQ(r.vreg, 0.5);
  EXPECT_EQ(r.corner, -1.0);
  EXPECT_EQ(r.message, kEmphasisSentence);
}

TEST(ParameterIntake, OnlyTheFirstValueOfALeafCounts) {
  const Intake r = Read("(tessalune_tx (emphasis 2 5) (Vreg 0) (corner 1))");
  EXPECT_EQ(r.emphasis, 2.0);
  EXPECT_EQ(r.message, "");
}
