#include "IbisParser/IbisCheck.h"

#include "tests/TestFolder.h"

#include <gtest/gtest.h>

TEST(IbisCheck, FileKindFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(IBIS_FileKind("dir/a.ibs"), 1);
  EXPECT_EQ(IBIS_FileKind("A.PKG"), 2);
  EXPECT_EQ(IBIS_FileKind("b.Ebd"), 3);
  EXPECT_EQ(IBIS_FileKind("x.d/c.ami"), 4);
  EXPECT_EQ(IBIS_FileKind("noext"), 0);
  EXPECT_EQ(IBIS_FileKind("x.ami/noext"), 0);
  EXPECT_EQ(IBIS_FileKind(nullptr), 0);
}

// The counts are those of one check, not of the process so far.
TEST(IbisCheck, CountsAreThoseOfOneFile) {
  TestFolder folder;
  const std::string bad = folder.Write("bad.ami", "(bad (Reserved_Parameters (AMI_Version (Usage Out))\n");
  const std::string good = std::string(TESSALUNE_SOURCE_DIR) + "/ibis/tessalune_rx.ami";
  const IBIS_CHECK_COUNTS first = IBIS_CheckFile(bad.c_str(), 1);
  EXPECT_GT(first.errors, 0);
  const IBIS_CHECK_COUNTS second = IBIS_CheckFile(good.c_str(), 1);
  EXPECT_EQ(second.read, 1);
  EXPECT_EQ(second.errors, 0);
  EXPECT_EQ(second.warnings, 0);
  EXPECT_EQ(IBIS_CheckFile((folder.path / "missing.ibs").c_str(), 1).read, 0);
  EXPECT_EQ(IBIS_CheckFile(bad.c_str(), 1).errors, first.errors);
}
