// docs/CHECKS.md is the table of the component checks as CheckRules.cpp
// holds it; every row has a catalogue text and a severity that its messages
// are printed with.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "IbisParser/rules/CheckRules.h"
#include "IbisParser/rules/RuleBook.h"
#include "amiparam/Msg.h"

TEST(CheckRules, EveryRowHasItsCatalogueTextOnce) {
  std::set<int> codes;
  for (int i = 0; i < giCheckRuleCount; ++i) {
    EXPECT_NE(MSG_Text(gaCheckRules[i].code), nullptr) << gaCheckRules[i].code;
    EXPECT_TRUE(codes.insert(gaCheckRules[i].code).second) << gaCheckRules[i].code;
    EXPECT_TRUE(std::strcmp(gaCheckRules[i].severity, "ERROR") == 0 ||
                std::strcmp(gaCheckRules[i].severity, "WARNING") == 0 ||
                std::strcmp(gaCheckRules[i].severity, "NOTE") == 0);
  }
  // Every catalogue row of the component range is in the table.
  for (int code = 5000; code < 5100; ++code) {
    if (MSG_Text(code)) {
      EXPECT_TRUE(codes.count(code)) << code;
    }
  }
}

TEST(CheckRules, PageMatchesTheRows) {
  std::ifstream in(std::string(TESSALUNE_SOURCE_DIR) + "/docs/CHECKS.md", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), RULES_Page())
      << "docs/CHECKS.md is stale: build/release/tools/tessalune check --list-checks > docs/CHECKS.md";
}
