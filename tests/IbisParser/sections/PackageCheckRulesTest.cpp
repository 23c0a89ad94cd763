// The package model, board, external and interconnect checks (ids 5400 to
// 5699) are all rows of the rule table, so docs/CHECKS.md lists every one.
#include <gtest/gtest.h>

#include <set>

#include "IbisParser/rules/CheckRules.h"
#include "amiparam/Msg.h"

TEST(PackageCheckRules, EveryMessageOfTheRangeIsARow) {
  std::set<int> codes;
  for (int i = 0; i < giCheckRuleCount; ++i) codes.insert(gaCheckRules[i].code);
  int rows = 0;
  for (int code = 5400; code < 5700; ++code) {
    if (!MSG_Text(code)) continue;
    ++rows;
    EXPECT_TRUE(codes.count(code)) << code;
  }
  EXPECT_GT(rows, 60);
}
