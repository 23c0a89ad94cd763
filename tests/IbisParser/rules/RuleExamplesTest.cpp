// Every rule row that holds an example: the example, checked as a file,
// gives that row's code at that row's level. The test is made from the rows:
// a new row with an example is tested without a line written here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisParser/Parse.h"
#include "IbisParser/rules/FileCheckRules.h"
#include "IbisParser/rules/RelationRules.h"
#include "IbisParser/rules/RuleBook.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Msg.h"
#include "tests/TestFolder.h"
#include "tests/amiparam/MsgCapture.h"

namespace {

struct Heard {
  int code;
  int level;
};

void Listen(int level, int code, unsigned long, const char*, void* context) {
  static_cast<std::vector<Heard>*>(context)->push_back({code, level});
}

// The example's text with "$H" replaced by a 4.2 header naming t.ibs.
std::string Expanded(const char* example) {
  const std::string header = "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n";
  std::string text = example;
  for (size_t at = text.find("$H"); at != std::string::npos; at = text.find("$H", at + header.size()))
    text.replace(at, 2, header);
  return text;
}

// The codes and levels printed while checking `text` as t.ibs.
std::vector<Heard> CheckExample(TestFolder& folder, const std::string& text) {
  std::vector<Heard> heard;
  const std::string path = folder.Write("t.ibs", text);
  const int wasQuiet = gbParseQuiet;
  gbParseQuiet = 1;
  MsgCapture capture;
  MSG_SetListener(Listen, &heard);
  PARSE_CheckFile(path.c_str(), PARSE_MODE_IBS);
  MSG_SetListener(nullptr, nullptr);
  gbParseQuiet = wasQuiet;
  return heard;
}

}  // namespace

TEST(RuleExamples, EachExampleGivesItsRowsCodeAtItsLevel) {
  TestFolder folder{"ruleexamples"};
  int withExample = 0;
  for (int i = 0; i < RULES_Count(); ++i) {
    const CHECK_RULE& rule = RULES_At(i);
    if (!rule.example) continue;
    ++withExample;
    bool found = false;
    for (const Heard& h : CheckExample(folder, Expanded(rule.example))) {
      if (h.code != rule.code) continue;
      found = true;
      EXPECT_EQ(h.level / 2, CHECK_LevelOf(rule.code) / 2) << rule.code;  // with or without the line
    }
    EXPECT_TRUE(found) << "the example of rule " << rule.code << " does not give it:\n" << Expanded(rule.example);
  }
  EXPECT_GT(withExample, 0);
  std::printf("%d of %d rules have an example\n", withExample, RULES_Count());
}

TEST(RuleExamples, TheRuleBookHoldsEveryRowOnce) {
  EXPECT_EQ(RULES_Count(), giCheckRuleCount + giModelCheckRuleCount + giFileCheckRuleCount + giRelationRuleCount);
  for (int i = 0; i < RULES_Count(); ++i) EXPECT_EQ(RULES_Find(RULES_At(i).code), &RULES_At(i));
}
