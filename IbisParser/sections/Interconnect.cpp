#include "IbisParser/sections/Interconnect.h"
#include "IbisParser/base/RecordList.h"

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/NamedFile.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Msg.h"

namespace {

// IBIS 7.0 interconnect modeling: a model names one data file, File_TS or
// File_IBIS-ISS; Number_of_terminals is given and that many terminal lines follow.
void CloseModel(PARSE_CONTEXT& ctx) {
  INTERCONNECT_MODEL* m = ctx.icmModel;
  if (!m) return;
  const char* name = m->name.c_str();
  if (m->fileCount == 0) CHECK_ReportAt(m->line, 5600, "Interconnect Model", name, "File_TS or File_IBIS-ISS");
  if (m->terminals < 0)
    CHECK_ReportAt(m->line, 5600, "Interconnect Model", name, "Number_of_terminals");
  else if (m->terminals != m->terminalLines)
    CHECK_ReportAt(m->line, 5633, name, m->terminals, m->terminalLines);
  if (!m->ended) CHECK_ReportAt(m->line, 5606, "Interconnect Model", name, "Interconnect Model");
  ctx.icmModel = nullptr;
}

void DataLine(PARSE_CONTEXT& ctx, INTERCONNECT_MODEL* m, const char* text) {
  std::vector<std::string> words = LINE_AssignWords(text);
  if (words.empty()) return;
  const std::string& sub = words[0];
  if (CMN_EqualNoCase(sub.c_str(), "File_TS") || CMN_EqualNoCase(sub.c_str(), "File_IBIS-ISS")) {
    if (++m->fileCount > 1) {
      CHECK_Report(5631, m->name.c_str());
      return;
    }
    m->fileKind = sub;
    m->file = words.size() > 1 ? words[1] : std::string();
    if (NAMED_Kind(ctx.where.dir, m->file, nullptr) != NAMED_FILE)
      CHECK_Report(5604, "Interconnect Model", m->file.c_str());
  } else if (CMN_EqualNoCase(sub.c_str(), "Number_of_terminals")) {
    // «Number_of_terminals = 4» or «Number_of_terminals 4».
    const std::string value = words.size() > 1 ? words.back() : std::string();
    if (m->terminals >= 0) CHECK_Report(5605, "Interconnect Model", "Number_of_terminals");
    m->terminals = LINE_WholeNumber(value, 1);
    if (m->terminals < 0) CHECK_Report(5403, "Number_of_terminals", 1, value.c_str());
  } else if (LINE_WholeNumber(sub, 1) > 0) {
    ++m->terminalLines;
  }
}

}  // namespace

void ICM_Begin(PARSE_CONTEXT& ctx) {
  INTERCONNECT_SET* set = new INTERCONNECT_SET();
  LIST_Append(&ctx.interconnects, &ctx.lastIcmSet, set);
  ctx.interconnect = set;
  ctx.icmModel = nullptr;
}

void ICM_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  INTERCONNECT_SET* set = ctx.interconnect;
  if (!set) return;
  if (set->ended) {
    CHECK_Report(5428, kind == PARSE_LINE_DATA ? "Data" : "Keyword", "End Interconnect Model Set",
                 "interconnect model set");
    return;
  }
  if (kind == PARSE_LINE_DATA) {
    if (ctx.icmModel && !ctx.icmModel->ended) DataLine(ctx, ctx.icmModel, text);
    return;
  }
  std::vector<std::string> words = LINE_Words(KEY_AfterKeyword(text));
  const std::string name = words.empty() ? std::string() : words[0];
  switch (id) {
    case KEY_INTERCONNECT_MODEL_SET:
      set->line = gulLineNumber;
      set->name = name;
      if (name.empty()) CHECK_Report(5500, "Interconnect Model Set");
      break;
    case KEY_INTERCONNECT_MODEL:
      CloseModel(ctx);
      if (name.empty()) CHECK_Report(5500, "Interconnect Model");
      set->models.emplace_back();
      ctx.icmModel = &set->models.back();
      ctx.icmModel->name = name;
      ctx.icmModel->line = gulLineNumber;
      break;
    case KEY_END_INTERCONNECT_MODEL:
      if (!ctx.icmModel || ctx.icmModel->ended)
        CHECK_Report(5634, "End Interconnect Model", "Interconnect Model");
      else
        ctx.icmModel->ended = true;
      break;
    case KEY_END_INTERCONNECT_MODEL_SET:
      CloseModel(ctx);
      set->ended = true;
      break;
    default:
      break;
  }
}

void ICM_End(PARSE_CONTEXT& ctx) {
  INTERCONNECT_SET* set = ctx.interconnect;
  if (!set) return;
  CloseModel(ctx);
  if (!set->ended)
    CHECK_ReportAt(set->line, 5606, "Interconnect Model Set", set->name.c_str(), "Interconnect Model Set");
  ctx.interconnect = nullptr;
}

const INTERCONNECT_SET* ICM_FindSet(const INTERCONNECT_SET* list, const std::string& name) {
  for (const INTERCONNECT_SET* s = list; s; s = s->next)
    if (s->name == name) return s;
  return nullptr;
}
