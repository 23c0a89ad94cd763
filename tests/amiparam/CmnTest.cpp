#include "amiparam/Cmn.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <csignal>
#include <string>

#include "MsgCapture.h"
#include "amiparam/Msg.h"

namespace {

// Switches the allocation-failure hook off again when a test ends.
struct FailAfter {
  explicit FailAfter(long count) { CMN_FailAllocationsAfter(count); }
  ~FailAfter() { CMN_FailAllocationsAfter(-1); }
};

TEST(Cmn, AllocGivesZeroFilledBlockAndFreeNullsThePointer) {
  unsigned char* block = nullptr;
  ASSERT_EQ(CMN_Alloc(&block, 12), 1);
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(block[i], 0) << i;
  CMN_Free(&block);
  EXPECT_EQ(block, nullptr);
}

TEST(Cmn, ExhaustedHeapIsReportedNotFatal) {
  MsgCapture capture;
  int32_t errors = glErrorCount;
  int32_t bugs = glBugCount;
  FailAfter fail(0);

  double* block = reinterpret_cast<double*>(1);
  EXPECT_EQ(CMN_Alloc(&block, 24), 0);
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(capture.Text(), "ERROR - Memory allocation failed.  This request 24.\n\n");
  EXPECT_EQ(glErrorCount, errors + 1);

  EXPECT_EQ(CMN_StrDup("abc"), nullptr);
  EXPECT_EQ(glErrorCount, errors + 2);
  EXPECT_EQ(glBugCount, bugs + 1);
  std::string text = capture.Text();
  EXPECT_NE(text.find("ERROR - Memory allocation failed.  This request 4.\n\n"
                      "PROGRAM BUG - Unable to Allocate Memory: Cmn.cpp "),
            std::string::npos)
      << text;

  // CMN_SubStr fails silently.
  std::string before = capture.Text();
  EXPECT_EQ(CMN_SubStr("abc", 2), nullptr);
  EXPECT_EQ(capture.Text(), before);
}

TEST(Cmn, FailedReallocKeepsTheOldBlock) {
  MsgCapture capture;
  int* block = nullptr;
  ASSERT_EQ(CMN_Alloc(&block, sizeof(int)), 1);
  *block = 42;
  {
    FailAfter fail(0);
    EXPECT_EQ(CMN_Realloc(&block, 1000), 0);
  }
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(*block, 42);
  EXPECT_EQ(capture.Text(), "ERROR - Memory reallocation failed.  This request 1000.\n\n");
  ASSERT_EQ(CMN_Realloc(&block, 4 * sizeof(int)), 1);
  EXPECT_EQ(block[0], 42);
  CMN_Free(&block);
}

TEST(Cmn, AllocationHookCountsRequests) {
  FailAfter fail(2);
  MsgCapture capture;
  char* a = CMN_SubStr("x", 1);
  char* b = CMN_StrDup("y");
  char* c = CMN_SubStr("z", 1);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  EXPECT_EQ(c, nullptr);
  CMN_Free(&a);
  CMN_Free(&b);
}

TEST(Cmn, StrDupAndSubStr) {
  EXPECT_EQ(CMN_StrDup(nullptr), nullptr);
  char* copy = CMN_StrDup("hello");
  EXPECT_STREQ(copy, "hello");
  CMN_Free(&copy);

  char* empty = CMN_SubStr("abc", 0);
  EXPECT_STREQ(empty, "");
  CMN_Free(&empty);
  char* shortCopy = CMN_SubStr("ab", 5);  // stops at the NUL of the source
  EXPECT_STREQ(shortCopy, "ab");
  CMN_Free(&shortCopy);
  char* part = CMN_SubStr("abcdef", 3);
  EXPECT_STREQ(part, "abc");
  CMN_Free(&part);
}

TEST(Cmn, WhitespaceIsTheSixAsciiCharacters) {
  for (int c = -128; c < 256; ++c) {
    bool expected = c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    EXPECT_EQ(CMN_IsSpace(c) != 0, expected) << c;
  }
  EXPECT_FALSE(CMN_IsSpace(static_cast<char>(0xA0)));
  EXPECT_FALSE(CMN_IsSpace(0x85));
}

TEST(Cmn, SkipSpaceStopsOnFirstNonBlankWhateverTheRunLength) {
  const char* text = "   x";
  const char* p = text;
  CMN_SkipSpace(&p);
  EXPECT_EQ(*p, 'x');

  const char* empty = "";
  p = empty;
  CMN_SkipSpace(&p);
  EXPECT_EQ(p, empty);

  for (size_t run : {119u, 120u, 121u, 5000u}) {
    std::string s(run, ' ');
    s[run / 2] = '\t';
    s += "x";
    char* q = &s[0];
    CMN_SkipSpace(&q);
    EXPECT_EQ(q, &s[run]) << run;
  }
  std::string blanks(300, '\n');
  const char* q = blanks.c_str();
  CMN_SkipSpace(&q);
  EXPECT_EQ(*q, '\0');
}

using CmnDeathTest = ::testing::Test;

TEST(CmnDeathTest, BrokenPreconditionsAbortWithTheAssertionMessage) {
  void* block = nullptr;
  EXPECT_DEATH(CMN_Alloc(static_cast<void**>(nullptr), 4), "");
  EXPECT_EXIT(CMN_Alloc(&block, 0), ::testing::KilledBySignal(SIGABRT), "");
  EXPECT_DEATH(CMN_Free(&block), "");
  EXPECT_DEATH(CMN_SkipSpace(static_cast<const char**>(nullptr)), "");
}

TEST(CmnDeathTest, AssertionMessageNamesUnitAndLine) {
  // The message goes to standard output; the death test sees standard error,
  // so let the child redirect one to the other first.
  EXPECT_DEATH(
      {
        dup2(2, 1);
        CMN_AssertFailed("/some/folder/Unit.cpp", 77);
      },
      "Unit\\.cpp:77:assertion failed\\.");
}

}  // namespace
