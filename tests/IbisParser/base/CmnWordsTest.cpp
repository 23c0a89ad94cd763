// Splitting lines into words, numbers with scale letters, and "NA" columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisParser/base/CmnWords.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"
#include "tests/amiparam/MsgCapture.h"

namespace {

std::vector<std::string> Stored(const CMN_WORDS& list) {
  std::vector<std::string> words;
  for (int i = 0; i < list.stored; ++i) words.push_back(list.words[i]);
  return words;
}

// Value of `text`, or -1e300 when it is not a number; the result code in *code.
double Number(const char* text, int* code) {
  double value = -1e300;
  *code = CMN_ReadNumber(text, &value);
  return value;
}

}  // namespace

TEST(CmnWords, SplitsAtBlanksAndTabsStoringAtMostTheWordsAsked) {
  CMN_WORDS list{};
  ASSERT_EQ(CMN_SplitWords("  R_pkg\t 250m  200m 300m  ", 2, '\0', &list), 1);
  EXPECT_EQ(list.found, 4);
  EXPECT_EQ(list.stored, 2);
  EXPECT_EQ(Stored(list), (std::vector<std::string>{"R_pkg", "250m"}));
  CMN_FreeWords(&list);
  EXPECT_EQ(list.words, nullptr);

  ASSERT_EQ(CMN_SplitWords("a b c", 0, '\0', &list), 1);  // counting only
  EXPECT_EQ(list.found, 3);
  EXPECT_EQ(list.stored, 0);
  CMN_FreeWords(&list);

  ASSERT_EQ(CMN_SplitWords("   ", 3, '\0', &list), 1);
  EXPECT_EQ(list.found, 0);
  EXPECT_EQ(list.words[0], nullptr);
  CMN_FreeWords(&list);
}

TEST(CmnWords, SeparatorIsAWordOfItsOwn) {
  CMN_WORDS list{};
  ASSERT_EQ(CMN_SplitWords("Windows_VisualStudio_32", 5, '_', &list), 1);
  EXPECT_EQ(Stored(list), (std::vector<std::string>{"Windows", "_", "VisualStudio", "_", "32"}));
  CMN_FreeWords(&list);
  ASSERT_EQ(CMN_SplitWords("Windows_Visual_Studio_32", 5, '_', &list), 1);
  EXPECT_EQ(list.found, 7);
  CMN_FreeWords(&list);
  ASSERT_EQ(CMN_SplitWords("__", 5, '_', &list), 1);
  EXPECT_EQ(Stored(list), (std::vector<std::string>{"_", "_"}));
  CMN_FreeWords(&list);
}

TEST(CmnWords, ExhaustedMemoryIsReportedAndTheListStaysReleasable) {
  MsgCapture capture;
  CMN_WORDS list{};
  CMN_FailAllocationsAfter(2);  // the array and one word
  EXPECT_EQ(CMN_SplitWords("one two three", 3, '\0', &list), 0);
  CMN_FailAllocationsAfter(-1);
  EXPECT_EQ(list.stored, 1);
  EXPECT_NE(capture.Text().find("PROGRAM BUG - Unable to Allocate Memory: CmnWords.cpp"), std::string::npos);
  CMN_FreeWords(&list);
}

TEST(CmnWords, ScaleLettersCountCaseAndUnitsAreIgnored) {
  int code = 0;
  EXPECT_DOUBLE_EQ(Number("2T", &code), 2e12);
  EXPECT_DOUBLE_EQ(Number("2G", &code), 2e9);
  EXPECT_DOUBLE_EQ(Number("2M", &code), 2e6);  // mega
  EXPECT_DOUBLE_EQ(Number("2k", &code), 2e3);
  EXPECT_DOUBLE_EQ(Number("2m", &code), 2e-3);  // milli
  EXPECT_DOUBLE_EQ(Number("2u", &code), 2e-6);
  EXPECT_DOUBLE_EQ(Number("2n", &code), 2e-9);
  EXPECT_DOUBLE_EQ(Number("2p", &code), 2e-12);
  EXPECT_DOUBLE_EQ(Number("2f", &code), 2e-15);
  EXPECT_DOUBLE_EQ(Number("1.5mV", &code), 0.0015);
  EXPECT_EQ(code, CMN_NUMBER_OK);
  EXPECT_DOUBLE_EQ(Number("3.3V", &code), 3.3);
  EXPECT_DOUBLE_EQ(Number("2meg", &code), 0.002);  // no multi-letter scales
  EXPECT_DOUBLE_EQ(Number("2K", &code), 2.0);      // upper-case K is a unit
  EXPECT_DOUBLE_EQ(Number("-3.8923E-02", &code), -0.038923);
  EXPECT_DOUBLE_EQ(Number("+.5e1", &code), 5.0);
  EXPECT_DOUBLE_EQ(Number("1.0x", &code), 1.0);
  EXPECT_EQ(code, CMN_NUMBER_OK);
  EXPECT_DOUBLE_EQ(Number("1e", &code), 1.0);  // an exponent needs digits
}

TEST(CmnWords, DigitsAfterTheScaleLetterAreFlagged) {
  int code = 0;
  EXPECT_DOUBLE_EQ(Number("10p2", &code), 1e-11);
  EXPECT_EQ(code, CMN_NUMBER_DIGITS_IN_SCALE);
  EXPECT_DOUBLE_EQ(Number("1u5", &code), 1e-6);
  EXPECT_EQ(code, CMN_NUMBER_DIGITS_IN_SCALE);
}

TEST(CmnWords, WhatIsNotADecimalNumber) {
  int code = 0;
  for (const char* text : {"1.5%", "-", "", ".", "abc", "e5", "inf", "nan", "1,5", "1e999", "1e308T"}) {
    EXPECT_EQ(Number(text, &code), -1e300) << text;
    EXPECT_EQ(code, CMN_NUMBER_NONE) << text;
  }
  EXPECT_EQ(Number("0x10", &code), 0.0);  // a zero with unit "x10", never hexadecimal
  EXPECT_EQ(code, CMN_NUMBER_DIGITS_IN_SCALE);
  EXPECT_EQ(Number("1e-999", &code), 0.0);  // too small reads as zero
  EXPECT_EQ(code, CMN_NUMBER_OK);
}

TEST(CmnWords, ValueOrNA) {
  MsgCapture capture;
  gulLineNumber = 7;
  double value = -1;
  int32_t status = -1;
  EXPECT_EQ(CMN_GetValueOrNA(nullptr, "R_pkg", "Minimum", &value, &status), 1);
  EXPECT_EQ(status, CMN_VALUE_NOT_GIVEN);
  EXPECT_EQ(CMN_GetValueOrNA("na", "R_pkg", "Minimum", &value, &status), 1);
  EXPECT_EQ(status, CMN_VALUE_NA);
  EXPECT_EQ(value, 0.0);
  EXPECT_EQ(CMN_GetValueOrNA("5p", "R_pkg", "Typical", &value, &status), 1);
  EXPECT_EQ(status, CMN_VALUE_NUMBER);
  EXPECT_DOUBLE_EQ(value, 5e-12);
  EXPECT_EQ(capture.Text(), "");

  EXPECT_EQ(CMN_GetValueOrNA("1u5", "C_pkg", "Typical", &value, &status), 1);
  EXPECT_EQ(status, CMN_VALUE_NUMBER);
  EXPECT_DOUBLE_EQ(value, 1e-6);
  value = 42;
  EXPECT_EQ(CMN_GetValueOrNA("1.5%", "C_pkg", "Maximum", &value, &status), 0);
  EXPECT_EQ(status, CMN_VALUE_NOT_GIVEN);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(capture.Text(),
            "WARNING (line    7) - Suspicious Typical C_pkg Value (\"1u5\"); Numeric in Scale\n"
            "ERROR (line    7) - Invalid Maximum Value (\"1.5%\")\n");
  gulLineNumber = 0;
}
