#include "IbisParser/sections/ModelSelector.h"
#include "IbisParser/base/RecordList.h"

#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "amiparam/Msg.h"

void SEL_Begin(PARSE_CONTEXT& ctx) {
  MODEL_SELECTOR* selector = new MODEL_SELECTOR();
  LIST_Append(&ctx.selectors, &ctx.lastSelector, selector);
  ctx.selector = selector;
}

void SEL_Line(PARSE_CONTEXT& ctx, int kind, const char* text) {
  MODEL_SELECTOR* selector = ctx.selector;
  if (!selector) return;
  if (kind == PARSE_LINE_KEYWORD) {
    std::vector<std::string> words = LINE_Words(KEY_AfterKeyword(text));
    selector->line = gulLineNumber;
    if (words.empty())
      CHECK_Report(5011, "Model Selector");
    else
      selector->name = words[0];
    return;
  }
  // IBIS 3.2 §5 [Model Selector]: each row names a model and describes it.
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() < 2) CHECK_Report(5033);
  if (words.empty()) return;
  SELECTOR_ENTRY entry{words[0], std::string(), gulLineNumber};
  const char* rest = text;
  while (*rest == ' ' || *rest == '\t') ++rest;
  rest += words[0].size();
  while (*rest == ' ' || *rest == '\t') ++rest;
  entry.description = rest;
  selector->entries.push_back(entry);
}

void SEL_End(PARSE_CONTEXT& ctx) {
  MODEL_SELECTOR* selector = ctx.selector;
  if (!selector) return;
  if (selector->entries.empty()) CHECK_ReportAt(selector->line, 5032, selector->name.c_str());
  ctx.selector = nullptr;
}
