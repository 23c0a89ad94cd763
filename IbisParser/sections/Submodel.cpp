#include "IbisParser/sections/Submodel.h"
#include "IbisParser/base/RecordList.h"

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/IvTable.h"
#include "IbisParser/sections/ModelKeywords.h"
#include "IbisParser/sections/Ramp.h"
#include "IbisParser/sections/VtTable.h"
#include "amiparam/Msg.h"

namespace {

// Submodel_type values (IBIS 3.2 §6a [Submodel]).
const char* const kSubmodelTypes[] = {"Dynamic_clamp", "Bus_hold", "Fall_back"};

}  // namespace

void SUBM_Begin(PARSE_CONTEXT& ctx) {
  SUBMODEL* submodel = new SUBMODEL();
  LIST_Append(&ctx.submodels, &ctx.lastSubmodel, submodel);
  ctx.submodel = submodel;
}

void SUBM_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  SUBMODEL* sub = ctx.submodel;
  if (!sub) return;
  MODEL_DATA* data = &sub->data;
  if (kind == PARSE_LINE_KEYWORD) {
    data->current = id;
    data->keywords.push_back(MODEL_KEYWORD{id, 0, gulLineNumber});
    if (id == KEY_SUBMODEL) {
      std::vector<std::string> words = LINE_Words(KEY_AfterKeyword(text));
      if (!words.empty()) sub->name = words[0];
      sub->line = gulLineNumber;
    } else if (MODKEY_TableKind(id)) {
      MODEL_TABLE table;
      table.keyword = id;
      table.name = MODKEY_Name(id);
      table.line = gulLineNumber;
      data->tables.push_back(table);
    } else if (id == KEY_SUB_RAMP) {
      data->hasRamp = true;
      data->ramp.line = gulLineNumber;
    }
    return;
  }
  const char* owner = sub->name.c_str();
  if (data->current == KEY_SUBMODEL) {
    std::vector<std::string> words = LINE_AssignWords(text);
    if (words.size() >= 2 && CMN_EqualNoCase(words[0].c_str(), "Submodel_type")) {
      sub->type = words[1];
      bool known = false;
      for (const char* t : kSubmodelTypes) known = known || CMN_EqualNoCase(t, words[1].c_str());
      if (!known) CHECK_Report(5243, owner, words[1].c_str());
    }
  } else if (MODKEY_TableKind(data->current)) {
    MODKEY_TableLine(data, data->current, text, owner);
  } else if (data->current == KEY_SUB_RAMP) {
    RAMP_Line(&data->ramp, text, owner);
  } else if (data->current == MKEY_SUBMODEL_SPEC) {
    // «V_trigger_r 1.2 1.1 1.3»: kept by name for the checks over the file.
    std::vector<std::string> words = LINE_AssignWords(text);
    if (!words.empty())
      data->modelSpec.push_back(
          MODEL_SUBPARAM{words[0], std::vector<std::string>(words.begin() + 1, words.end()), gulLineNumber});
  }
}

void SUBM_End(PARSE_CONTEXT& ctx) {
  SUBMODEL* sub = ctx.submodel;
  if (!sub) return;
  const char* owner = sub->name.c_str();
  if (sub->type.empty()) CHECK_ReportAt(sub->line, 5244, owner);
  for (MODEL_TABLE& table : sub->data.tables) {
    if (MODKEY_TableKind(table.keyword) == 2)
      VTT_CheckTable(ctx, table, owner);
    else
      TABLE_CheckIvTable(ctx, table, owner);
    TABLE_SortAscending(&table);
  }
  if (sub->data.hasRamp) RAMP_Check(sub->data.ramp, owner);
  ctx.submodel = nullptr;
}
