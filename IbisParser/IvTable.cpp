#include "IbisParser/IvTable.h"

#include <algorithm>
#include <cstdio>

#include "IbisParser/CmnWords.h"
#include "IbisParser/IbisVersion.h"
#include "IbisParser/LineWords.h"
#include "IbisParser/ModelData.h"
#include "IbisParser/ModelKeywords.h"
#include "IbisParser/Parse.h"
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

// One row into `table`; false when it was refused.
bool ReadRow(MODEL_TABLE* table, const char* text, const char* owner) {
  // IBIS 2.1 §6: each row is the independent value and the typ, min and max
  // columns; all four are there, typ holds data, min and max may be NA.
  const char* name = table->name.c_str();
  const char* column = MODKEY_TableKind(table->keyword) == 2 ? "time" : "voltage";
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 4) {
    MSG_Code(MSG_LEVEL_ERROR_LINE, 5150, name, owner, static_cast<int>(words.size()));
    return false;
  }
  TABLE_ROW row;
  row.line = gulLineNumber;
  bool ok = true;
  if (TABLE_Value(words[0].c_str(), &row.x) != CMN_VALUE_NUMBER) {
    MSG_Code(MSG_LEVEL_ERROR_LINE, 5151, name, owner, column, words[0].c_str());
    ok = false;
  }
  static const char* const kCorners[] = {"typ", "min", "max"};
  for (int c = 0; c < 3; ++c) {
    row.y[c].status = TABLE_Value(words[1 + c].c_str(), &row.y[c].value);
    if (row.y[c].status == 0) {
      MSG_Code(MSG_LEVEL_ERROR_LINE, 5152, name, owner, kCorners[c], words[1 + c].c_str());
      ok = false;
    }
  }
  if (row.y[0].status == CMN_VALUE_NA) {
    MSG_Code(MSG_LEVEL_ERROR_LINE, 5153, name, owner);
    ok = false;
  }
  if (!ok) return false;
  // The independent column runs one way without repeating: V-T tables
  // forward in time, I-V tables up or down in voltage as the first two rows
  // set it (IBIS 2.1 §6: a table gives one value per voltage or time).
  if (!table->rows.empty()) {
    const TABLE_ROW& last = table->rows.back();
    if (row.x == last.x) {
      MSG_Code(MSG_LEVEL_ERROR_LINE, 5154, name, owner, column, words[0].c_str(), static_cast<int>(last.line));
      return false;
    }
    const bool timeTable = MODKEY_TableKind(table->keyword) == 2;
    const bool set = timeTable || table->rows.size() >= 2;
    const bool down = set && !timeTable && table->rows[1].x < table->rows[0].x;
    const bool up = set && !down;
    if ((up && row.x < last.x) || (down && row.x > last.x)) {
      MSG_Code(MSG_LEVEL_ERROR_LINE, 5155, name, owner, column, words[0].c_str(), static_cast<int>(last.line));
      return false;
    }
  }
  table->rows.push_back(row);
  return true;
}

}  // namespace

void TABLE_ReadRow(MODEL_TABLE* table, const char* text, const char* owner) {
  if (!ReadRow(table, text, owner)) table->faulty = true;
}

void TABLE_SortAscending(MODEL_TABLE* table) {
  if (table->rows.size() >= 2 && table->rows.front().x > table->rows.back().x)
    std::reverse(table->rows.begin(), table->rows.end());
}

void IVT_CheckTable(const MODEL_TABLE& table, const char* owner) {
  const int n = static_cast<int>(table.rows.size());
  if (n < 2) LINE_ReportAt(table.line, MSG_LEVEL_ERROR_LINE, 5157, table.name.c_str(), owner);
  if (n > kIvRowsMax)
    LINE_ReportAt(table.rows[kIvRowsMax].line, MSG_LEVEL_ERROR_LINE, 5156, table.name.c_str(), owner, n, kIvRowsMax,
                  IBISVER_Name(giIbisRelease));
}
