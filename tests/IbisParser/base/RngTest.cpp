// Typ/min/max triples.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/Rng.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"
#include "tests/amiparam/MsgCapture.h"

namespace {

// Reads `text` as a triple of C_comp; returns the messages.
struct Read {
  explicit Read(const char* text) {
    gulLineNumber = 0;
    MsgCapture capture;
    result = RNG_ReadTriple(text, "C_comp", &rng);
    messages = capture.Text();
  }
  ~Read() {
    if (rng) CMN_Free(&rng);
  }
  RNG* rng = nullptr;
  int result = -1;
  std::string messages;
};

}  // namespace

TEST(Rng, ThreeNumbers) {
  Read r("3.3 3.0 3.6");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.messages, "");
  EXPECT_DOUBLE_EQ(r.rng->typ.value, 3.3);
  EXPECT_DOUBLE_EQ(r.rng->min.value, 3.0);
  EXPECT_DOUBLE_EQ(r.rng->max.value, 3.6);
  EXPECT_EQ(r.rng->typ.status + r.rng->min.status + r.rng->max.status, 3);
}

TEST(Rng, NaColumnsAreNotCompared) {
  Read r("5p NA NA");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.messages, "");
  EXPECT_DOUBLE_EQ(r.rng->typ.value, 5e-12);
  EXPECT_EQ(r.rng->min.status, CMN_VALUE_NA);
  EXPECT_EQ(r.rng->max.status, CMN_VALUE_NA);
}

TEST(Rng, TypicalMustLieBetweenMinimumAndMaximumInEitherOrder) {
  EXPECT_EQ(Read("3.3 3.6 3.0").messages, "");
  EXPECT_EQ(Read("3.3 3.3 3.6").messages, "");
  EXPECT_EQ(Read("3.7 3.0 3.6").messages, "WARNING (line    0) - Typ value is not in between Min and Max \n");
  EXPECT_EQ(Read("2.9 3.0 3.6").messages, "WARNING (line    0) - Typ value is not in between Min and Max \n");
}

TEST(Rng, MissingColumnsAreReportedAndReadAsNotGiven) {
  Read one("3.3");
  EXPECT_EQ(one.result, 1);
  EXPECT_EQ(one.messages,
            "ERROR (line    0) - No minimum Value Was Provided for C_comp\n"
            "ERROR (line    0) - No maximum Value Was Provided for C_comp\n");
  EXPECT_EQ(one.rng->min.status, CMN_VALUE_NOT_GIVEN);
  EXPECT_EQ(one.rng->max.status, CMN_VALUE_NOT_GIVEN);
  Read two("3.3 3.0");
  EXPECT_EQ(two.messages, "ERROR (line    0) - No maximum Value Was Provided for C_comp\n");
  Read none("");
  EXPECT_EQ(none.result, 1);
  EXPECT_EQ(none.messages, "ERROR (line    0) - Incorrect Number of Line Items (0) For C_comp: Expecting 3\n");
}

TEST(Rng, ExtraColumnsAreReportedAndTheFirstThreeRead) {
  Read r("1 2 3 4");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.messages,
            "ERROR (line    0) - Incorrect Number of Line Items (4) For C_comp: Expecting 3\n"
            "WARNING (line    0) - Typ value is not in between Min and Max \n");
  EXPECT_DOUBLE_EQ(r.rng->max.value, 3.0);
}

TEST(Rng, EveryInvalidColumnIsReported) {
  // The letter x is a unit: «1.0x» reads as 1.0.
  Read unit("1.0x 2 3");
  EXPECT_EQ(unit.result, 1);
  EXPECT_EQ(unit.messages, "WARNING (line    0) - Typ value is not in between Min and Max \n");
  Read bad("1.0% 2 3%");
  EXPECT_EQ(bad.result, 0);
  EXPECT_EQ(bad.messages,
            "ERROR (line    0) - Invalid Typical Value (\"1.0%\")\n"
            "ERROR (line    0) - Invalid Maximum Value (\"3%\")\n");
  ASSERT_NE(bad.rng, nullptr);
  EXPECT_EQ(bad.rng->typ.status, CMN_VALUE_NOT_GIVEN);
  EXPECT_EQ(bad.rng->min.status, CMN_VALUE_NUMBER);
}

TEST(Rng, ExhaustedMemory) {
  CMN_FailAllocationsAfter(0);
  Read words("1 2 3");
  CMN_FailAllocationsAfter(4);  // the word array and three words
  Read triple("1 2 3");
  CMN_FailAllocationsAfter(-1);
  EXPECT_EQ(words.result, 0);
  EXPECT_NE(words.messages.find("PROGRAM BUG (line    0) - Unable to Parse C_comp: Rng.cpp"), std::string::npos);
  EXPECT_EQ(triple.result, 0);
  EXPECT_EQ(triple.rng, nullptr);
  EXPECT_NE(triple.messages.find("PROGRAM BUG - Unable to Allocate Memory: Rng.cpp"), std::string::npos);
}
