#include "IbisParser/sections/IvTable.h"

#include <algorithm>
#include <cstdio>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/ModelKeywords.h"
#include "amiparam/Msg.h"

namespace {

// Rows an I-V table may hold: 100 in every version (IBIS 2.1 §6 [Pulldown]
// ... [POWER Clamp]: "at most 100 points").
constexpr int kIvRowsMax = 100;

}  // namespace

int TABLE_Value(const char* word, double* value) {
  if (CMN_EqualNoCase(word, "NA")) return CMN_VALUE_NA;
  return CMN_ReadNumber(word, value) != CMN_NUMBER_NONE ? CMN_VALUE_NUMBER : 0;
}

namespace {

// Which way the independent column runs: +1 up, -1 down, 0 not yet known.
// V-T tables run forward in time; I-V tables up or down in voltage as their
// first two rows set it.
int Direction(const MODEL_TABLE& table) {
  if (MODKEY_TableKind(table.keyword) == 2) return 1;
  if (table.rows.size() < 2) return 0;
  return table.rows[1].x < table.rows[0].x ? -1 : 1;
}

// Appends `row` when it keeps the order of the rows before it (IBIS 2.1 §6: a
// table gives one value per voltage or time, in order). One misplaced row is
// one fault, reported once per table: when the row fits after the row before
// the last, the last row is the one out of place (a spike such as 50 between
// 0.4 and 0.6) and gives way; later rows are compared with the rows kept.
bool KeepsOrder(MODEL_TABLE* table, const TABLE_ROW& row, const char* word, const char* owner) {
  const char* name = table->name.c_str();
  const char* column = MODKEY_TableKind(table->keyword) == 2 ? "time" : "voltage";
  std::vector<TABLE_ROW>& rows = table->rows;
  if (rows.empty()) {
    rows.push_back(row);
    return true;
  }
  const TABLE_ROW& last = rows.back();
  const int way = Direction(*table);
  const bool repeats = row.x == last.x;
  if (!repeats && way * (row.x - last.x) >= 0.0) {
    rows.push_back(row);
    return true;
  }
  const bool reported = table->orderReported;
  table->orderReported = true;
  if (!repeats && rows.size() >= 3 && way * (row.x - rows[rows.size() - 2].x) > 0.0) {
    const TABLE_ROW spike = last;
    rows.back() = row;
    if (!reported) {
      char text[32];
      std::snprintf(text, sizeof text, "%g", spike.x);
      CHECK_ReportAt(spike.line, 5155, name, owner, column, text, static_cast<int>(rows[rows.size() - 2].line));
    }
    return false;
  }
  if (!reported) {
    CHECK_Report(repeats ? 5154 : 5155, name, owner, column, word, static_cast<int>(last.line));
  }
  return false;
}

// One row into `table`; false when it was refused.
bool ReadRow(MODEL_TABLE* table, const char* text, const char* owner) {
  // IBIS 2.1 §6: each row is the independent value and the typ, min and max
  // columns; all four are there, typ holds data, min and max may be NA.
  const char* name = table->name.c_str();
  const char* column = MODKEY_TableKind(table->keyword) == 2 ? "time" : "voltage";
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 4) {
    CHECK_Report(5150, name, owner, static_cast<int>(words.size()));
    return false;
  }
  TABLE_ROW row;
  row.line = gulLineNumber;
  bool ok = true;
  if (TABLE_Value(words[0].c_str(), &row.x) != CMN_VALUE_NUMBER) {
    CHECK_Report(5151, name, owner, column, words[0].c_str());
    ok = false;
  }
  static const char* const kCorners[] = {"typ", "min", "max"};
  for (int c = 0; c < 3; ++c) {
    row.y[c].status = TABLE_Value(words[1 + c].c_str(), &row.y[c].value);
    if (row.y[c].status == 0) {
      CHECK_Report(5152, name, owner, kCorners[c], words[1 + c].c_str());
      ok = false;
    }
  }
  // An inner typ value may be NA; the first and last rows are checked when
  // the table ends (TABLE_CheckEnds).
  if (!ok) return false;
  return KeepsOrder(table, row, words[0].c_str(), owner);
}

}  // namespace

void TABLE_ReadRow(MODEL_TABLE* table, const char* text, const char* owner) {
  if (!ReadRow(table, text, owner)) table->faulty = true;
}

void TABLE_SortAscending(MODEL_TABLE* table) {
  if (table->rows.size() >= 2 && table->rows.front().x > table->rows.back().x)
    std::reverse(table->rows.begin(), table->rows.end());
}

void TABLE_CheckEnds(const MODEL_TABLE& table, const char* owner) {
  if (table.rows.empty()) return;
  const char* name = table.name.c_str();
  const TABLE_ROW* ends[2] = {&table.rows.front(), &table.rows.back()};
  for (int e = 0; e < (table.rows.size() > 1 ? 2 : 1); ++e) {
    if (ends[e]->y[0].status != CMN_VALUE_NUMBER) CHECK_ReportAt(ends[e]->line, 5153, name, owner);
  }
  static const char* const kCorners[] = {"typ", "min", "max"};
  for (int c = 1; c < 3; ++c) {
    bool data = false;
    for (const TABLE_ROW& row : table.rows) data = data || row.y[c].status == CMN_VALUE_NUMBER;
    if (!data) continue;
    for (int e = 0; e < 2; ++e) {
      if (ends[e]->y[c].status != CMN_VALUE_NUMBER) {
        CHECK_ReportAt(ends[e]->line, 5161, name, owner, kCorners[c], e == 0 ? "first" : "last");
        break;
      }
    }
  }
}

void TABLE_CheckIvTable(PARSE_CONTEXT& ctx, const MODEL_TABLE& table, const char* owner) {
  TABLE_CheckEnds(table, owner);
  const int n = static_cast<int>(table.rows.size());
  if (n < 2) CHECK_ReportAt(table.line, 5157, table.name.c_str(), owner);
  if (n > kIvRowsMax)
    CHECK_ReportAt(table.rows[kIvRowsMax].line, 5156, table.name.c_str(), owner, n, kIvRowsMax,
                   IBISVER_Name(ctx.ibisRelease));
}
