// Every message the checker can print is a row of the rule tables that
// docs/CHECKS.md is made of, carries its message there and is printed at the
// severity of its row: the checker's calls name a code alone, the printer's
// own catalogue keeps only the parameter subsystem's rows, and what a run over
// faulty files prints agrees with the rows.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "IbisParser/rules/FileCheckRules.h"
#include "IbisParser/rules/RelationRules.h"
#include "IbisParser/rules/RuleBook.h"
#include "amiparam/Msg.h"
#include "amiparam/MsgCatalogue.h"
#include "tests/IbisParser/CheckerFiles.h"
#include "tests/IbisParser/SeverityAudit.h"

namespace fs = std::filesystem;

TEST(CheckCatalogue, EveryCatalogueRowIsARuleRowOnce) {
  std::set<int> rows;
  const struct {
    const CHECK_RULE* table;
    int count;
  } kTables[] = {{gaFileCheckRules, giFileCheckRuleCount},
                 {gaCheckRules, giCheckRuleCount},
                 {gaModelCheckRules, giModelCheckRuleCount},
                 {gaRelationRules, giRelationRuleCount}};
  for (const auto& t : kTables) {
    for (int i = 0; i < t.count; ++i) {
      const CHECK_RULE& r = t.table[i];
      EXPECT_TRUE(rows.insert(r.code).second) << r.code << " has two rows";
      // The message is the row's, or for the memory faults the printer's own
      // row; the printer finds it either way.
      EXPECT_EQ(r.message == nullptr, MSG_Lookup(r.code) != nullptr) << r.code;
      EXPECT_NE(RULES_Text(r), nullptr) << r.code;
      EXPECT_EQ(MSG_Text(r.code), RULES_Text(r)) << r.code;
      bool known = false;
      for (const char* s : {"PROGRAM BUG", "ERROR", "WARNING", "CAUTION", "NOTE"})
        known = known || std::strcmp(r.severity, s) == 0;
      EXPECT_TRUE(known) << r.code << " " << r.severity;
    }
  }
  // Code 0 is the catalogue's answer for a code it lacks, never printed.
  for (size_t i = 1; i < gulMsgCatalogueSize; ++i)
    EXPECT_TRUE(rows.count(gaMsgCatalogue[i].code)) << gaMsgCatalogue[i].code << " has no rule row";
}

// The checker reports by code alone (CHECK_Report, CHECK_ReportAt,
// CHECK_ReportFile: the level is the row's), and every code so reported has
// a row; no call in IbisParser/ writes a level beside a code. The parameter
// subsystem's calls with a level (MSG_Error, MSG_Bug in amiparam/) name the
// severity of their code's row.
TEST(CheckCatalogue, CallsInTheSourcesPrintTheRowsSeverity) {
  const std::regex leveled(R"(\b(MSG_Code|MSG_CodeV|MSG_Error|MSG_Bug|LineError)\()");
  const std::regex withLevel(R"(MSG_LEVEL_([A-Z]+)(_LINE)?,\s*([^,;]*?)[,)])");
  const std::regex errorCall(R"((MSG_Error|LineError)\(([^,;)]*))");
  const std::regex bugCall(R"(MSG_Bug\(([^,;)]*))");
  const std::regex byRow(R"(CHECK_Report(File|At\([^,;]*,)?\(?\s*([^,;)]*))");
  const std::regex number(R"(\b[0-9]{3,4}\b)");
  int calls = 0;
  for (const char* folder : {"IbisParser", "amiparam"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TESSALUNE_SOURCE_DIR) / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      const std::string text = ReadFile(entry.path().string());
      if (std::string(folder) == "IbisParser") {
        EXPECT_FALSE(std::regex_search(text, leveled))
            << entry.path().filename() << " prints a code at a level of its own";
      }
      auto check = [&](const std::string& severity, const std::string& codes) {
        for (std::sregex_iterator n(codes.begin(), codes.end(), number), end; n != end; ++n) {
          const int code = std::stoi(n->str());
          const CHECK_RULE* rule = RULES_Find(code);
          ++calls;
          if (!rule) {
            ADD_FAILURE() << entry.path().filename() << ": code " << code << " has no rule row";
          } else {
            EXPECT_EQ(severity, rule->severity) << entry.path().filename() << ": code " << code;
          }
        }
      };
      for (std::sregex_iterator m(text.begin(), text.end(), withLevel), end; m != end; ++m) {
        const std::string level = (*m)[1];
        check(level == "BUG" ? "PROGRAM BUG" : level, (*m)[3]);
      }
      for (std::sregex_iterator m(text.begin(), text.end(), errorCall), end; m != end; ++m) check("ERROR", (*m)[2]);
      for (std::sregex_iterator m(text.begin(), text.end(), bugCall), end; m != end; ++m) check("PROGRAM BUG", (*m)[1]);
      for (std::sregex_iterator m(text.begin(), text.end(), byRow), end; m != end; ++m) {
        const std::string codes = (*m)[2];
        for (std::sregex_iterator n(codes.begin(), codes.end(), number), stop; n != stop; ++n) {
          ++calls;
          EXPECT_NE(RULES_Find(std::stoi(n->str())), nullptr) << entry.path().filename() << ": " << n->str();
        }
      }
    }
  }
  EXPECT_GT(calls, 330);
}

using CheckCatalogueRuns = CheckerFiles;

// Faults of the header, the lines, [Package], the numbers and the
// [Algorithmic Model] block, where the codes are passed on through tables
// and helpers: what is printed agrees with the rows.
TEST_F(CheckCatalogueRuns, PrintedSeveritiesAgreeWithTheRows) {
  SeverityAudit audit;
  Check(
      "[IBIS Ver] 4.2\n[File Name] T.ibs\n[File Name] t.ibs\n[File Rev] 1\n[File Rev] 2\n[Date] NA\n"
      "[Date] x\n[Source] a\n[Source] b\n[Notes] a\n[Notes] b\n[Copyright] a\n[Copyright] b\n"
      "[Component] c\n[Manufacturer] m\n[Package]\n R_pkg 1 2\nR_pkg 1u5 1 2\nR_pkg 1 1 1\nL_pkg 7 1 2\n"
      "X_pkg 1 1 1\nC_pkg x 1 1\n[Pin] signal_name model_name\n1\tvdd POWER\n[Bogus]\n[End]\nmore\n");
  Check("[IBIS Ver] 3.2\n[File Name] averylongfilenamefor32.ibs\n[Component] c\n", "t.ibs");
  Check("[Component] c\n", "u.ibs");
  Check("[IBIS Ver] 4.2\n", "v.txt");
  Check("[IBIS Ver] 5.0\n[File Name] w.ibs\n[File Rev] 1\n" + MinimalComponent() + "[Model] m\n" + ModelBody() +
            "[Algorithmic Model]\nExecutable Windows_Visual_Studio_32 a.dll a.ami\nExecutable x y\n"
            "Other a b c\nExecutable Linux_gcc_48 a.so noext\n[End Algorithmic Model]\n[End]\n",
        "w.ibs");
  EXPECT_GT(audit.seen.size(), 30u);
  for (const std::string& fault : audit.faults) ADD_FAILURE() << "message " << fault;
}
