#include "IbisParser/sections/VtTable.h"

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/IvTable.h"
#include "IbisParser/sections/ModelKeywords.h"
#include "amiparam/Msg.h"

namespace {

// Fixture subparameters of a waveform (IBIS 2.1 §6 [Rising Waveform]:
// R_fixture, V_fixture, V_fixture_min, V_fixture_max, C_fixture, L_fixture,
// R_dut, L_dut, C_dut).
const char* const kFixture[] = {"R_fixture", "V_fixture", "V_fixture_min", "V_fixture_max", "C_fixture",
                                "L_fixture", "R_dut",     "L_dut",         "C_dut"};

// Rows of a V-T table: 100 before IBIS 4.0, 1000 from 4.0 on (the 4.0 text
// raised the limit).
int RowsMax(PARSE_CONTEXT& ctx) { return ctx.ibisRelease >= IBIS_RELEASE_42 ? 1000 : 100; }

}  // namespace

int VTT_FixtureLine(MODEL_TABLE* table, const char* text, const char* owner) {
  std::vector<std::string> words = LINE_AssignWords(text);
  if (words.empty()) return 1;
  double number = 0.0;
  if (TABLE_Value(words[0].c_str(), &number) != 0) return 0;  // a number or NA starts a row
  const char* known = nullptr;
  for (const char* name : kFixture)
    if (CMN_EqualNoCase(words[0].c_str(), name)) known = name;
  if (!known) {
    CHECK_Report(5159, table->name.c_str(), owner, words[0].c_str());
    return 1;
  }
  const std::string value = words.size() > 1 ? words[1] : std::string();
  if (TABLE_Value(value.c_str(), &number) != CMN_VALUE_NUMBER) {
    CHECK_Report(5151, table->name.c_str(), owner, known, value.c_str());
    return 1;
  }
  table->fixture.emplace_back(known, number);
  return 1;
}

void VTT_CheckTable(PARSE_CONTEXT& ctx, const MODEL_TABLE& table, const char* owner) {
  double value = 0.0;
  // [Composite Current] takes the fixture of the waveform it follows.
  if (table.keyword != MKEY_COMPOSITE_CURRENT) {
    for (const char* required : {"R_fixture", "V_fixture"})
      if (!table.Fixture(required, &value)) CHECK_ReportAt(table.line, 5158, table.name.c_str(), owner, required);
  }
  TABLE_CheckEnds(table, owner);
  const int n = static_cast<int>(table.rows.size());
  if (n < 2) CHECK_ReportAt(table.line, 5157, table.name.c_str(), owner);
  if (n > RowsMax(ctx))
    CHECK_ReportAt(table.rows[RowsMax(ctx)].line, 5156, table.name.c_str(), owner, n, RowsMax(ctx),
                   IBISVER_Name(ctx.ibisRelease));
}

void VTT_CheckCount(const std::vector<MODEL_TABLE>& tables, const char* owner, unsigned long modelLine) {
  (void)modelLine;
  // IBIS 2.1 §6 [Rising Waveform]: up to 100 of each per model.
  for (int id : {KEY_RISING_WAVEFORM, KEY_FALLING_WAVEFORM}) {
    int count = 0;
    for (const MODEL_TABLE& t : tables)
      if (t.keyword == id && ++count == 101) CHECK_ReportAt(t.line, 5160, owner, MODKEY_Name(id));
  }
}
