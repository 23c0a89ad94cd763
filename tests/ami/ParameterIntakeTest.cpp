#include "ami/ParameterIntake.h"

#include "amiparam/AmiParameters.h"
#include "model/tessalune_tx.h"

#include <gtest/gtest.h>

#include <limits>
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

// The refusal of a Vreg or corner value whose rounded index names no response.
std::string NoResponse(const std::string& name, const std::string& value) {
  return "The IBIS-AMI model, tessalune_tx, has no response for the parameter " + name + " value " + value +
         ".  The allowed values are 0, 1 and 2 (the model rounds " + name + " to the nearest integer). ";
}

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

TEST(ParameterIntake, SelectionWithoutAResponseAddsOneSentencePerParameter) {
  // Rounded as the model's converters round: halves away from zero, NaN and
  // values beyond 32 bits to no index at all.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double vreg, corner;
    std::string message;
  } cases[] = {
      {0.0, 0.0, ""},
      {2.0, 2.0, ""},
      {2.4999, -0.4999, ""},
      {-0.5, 2.0, NoResponse("Vreg", "-0.5")},
      {2.5, 1.0, NoResponse("Vreg", "2.5")},
      {1.0, 2.5, NoResponse("corner", "2.5")},
      {1.0, -0.6, NoResponse("corner", "-0.6")},
      {7.0, -0.6, NoResponse("Vreg", "7") + NoResponse("corner", "-0.6")},
      {nan, 0.0, NoResponse("Vreg", "nan")},
      {1e300, -inf, NoResponse("Vreg", "1e+300") + NoResponse("corner", "-inf")},
      {2147483648.0, 4294967298.0, NoResponse("Vreg", "2.14748e+09") + NoResponse("corner", "4.29497e+09")},
  };
  for (const Case& c : cases) {
    tessalune_tx model;
    model.Vreg = c.vreg;
    model.corner = c.corner;
    EXPECT_EQ(CheckResponseSelection(model), c.message.empty()) << c.vreg << " " << c.corner;
    EXPECT_EQ(model.MessageText, c.message);
  }
}
