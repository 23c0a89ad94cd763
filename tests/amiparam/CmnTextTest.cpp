#include "amiparam/CmnText.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "amiparam/Cmn.h"

namespace {

TEST(CmnText, EqualNoCaseFoldsOnlyAsciiLetters) {
  EXPECT_EQ(CMN_EqualNoCase("TrUe", "true"), 1);
  EXPECT_EQ(CMN_EqualNoCase("", ""), 1);
  EXPECT_EQ(CMN_EqualNoCase("[Comment Char]", "[COMMENT CHAR]"), 1);
  // Neighbours of the letter ranges are not letters: '@' vs '`', '[' vs '{'.
  EXPECT_EQ(CMN_EqualNoCase("@[", "`{"), 0);
  // Bytes above 0x7F match only themselves: no locale folding of 'É' and 'é'.
  EXPECT_EQ(CMN_EqualNoCase("\xc9", "\xe9"), 0);
  EXPECT_EQ(CMN_EqualNoCase("caf\xe9", "CAF\xe9"), 1);
}

TEST(CmnText, EqualNoCaseEndsEachTextAtItsFirstNul) {
  EXPECT_EQ(CMN_EqualNoCase("true", "tru"), 0);
  EXPECT_EQ(CMN_EqualNoCase("tru", "true"), 0);
  EXPECT_EQ(CMN_EqualNoCase("", "a"), 0);
  const char withNul[] = "true\0x";
  EXPECT_EQ(CMN_EqualNoCase(withNul, "TRUE"), 1);  // what follows the NUL is not read
}

TEST(CmnText, BaseNameSplitsAtEitherSeparator) {
  EXPECT_STREQ(CMN_BaseName("/src/amiparam/Cmn.cpp"), "Cmn.cpp");
  EXPECT_STREQ(CMN_BaseName("C:\\src\\amiparam\\Cmn.cpp"), "Cmn.cpp");
  EXPECT_STREQ(CMN_BaseName("C:\\src/mixed\\Unit.cpp"), "Unit.cpp");
  EXPECT_STREQ(CMN_BaseName("Unit.cpp"), "Unit.cpp");
  EXPECT_STREQ(CMN_BaseName("folder/"), "");
  EXPECT_STREQ(CMN_BaseName(""), "");
  const char path[] = "a/b";
  EXPECT_EQ(CMN_BaseName(path), path + 2);  // points into the path
}

TEST(CmnTextDeathTest, AssertionMessageDropsBackslashFolders) {
  // Sources compiled on Windows carry backslash paths in __FILE__; the
  // message names only the unit there too.
  EXPECT_DEATH(
      {
        dup2(2, 1);
        CMN_AssertFailed("C:\\build\\amiparam\\Unit.cpp", 78);
      },
      "(^|[^\\\\])Unit\\.cpp:78:assertion failed\\.");
}

}  // namespace
