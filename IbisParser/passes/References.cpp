#include "IbisParser/passes/References.h"

#include <string>
#include <unordered_map>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/Component.h"
#include "IbisParser/sections/Model.h"
#include "IbisParser/sections/ModelSelector.h"
#include "amiparam/Msg.h"

namespace {

// Reserved words of the model_name column, with the version that gives them.
struct ReservedName {
  const char* word;
  int since;
};
constexpr ReservedName kReservedNames[] = {
    {"POWER", IBIS_RELEASE_21},        // IBIS 2.1 §5 [Pin]
    {"GND", IBIS_RELEASE_21},          // IBIS 2.1 §5 [Pin]
    {"NC", IBIS_RELEASE_21},           // IBIS 2.1 §5 [Pin]
    {"CIRCUITCALL", IBIS_RELEASE_42},  // IBIS 4.2 §5 [Pin], with [Circuit Call]
};

std::string Lower(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Model and selector names of the file, compared without regard to case.
struct Names {
  std::unordered_map<std::string, const MODEL*> models;
  std::unordered_map<std::string, const MODEL_SELECTOR*> selectors;
};

Names Collect(PARSE_CONTEXT& ctx) {
  Names names;
  for (const MODEL* m = ctx.models; m; m = m->next)
    if (m->name) names.models.emplace(Lower(m->name), m);
  for (const MODEL_SELECTOR* s = ctx.selectors; s; s = s->next)
    if (!s->name.empty()) names.selectors.emplace(Lower(s->name), s);
  return names;
}

bool IsSeriesType(const char* type) {
  return CMN_EqualNoCase(type, "Series") || CMN_EqualNoCase(type, "Series_switch");
}

// IBIS 3.2 §5 [Series Pin Mapping]: model_name is a [Model] of type Series
// or Series_switch; from 4.1 (BIRD 87) it may also name a [Model Selector]
// of such models (4.0 and 4.1 files are read by the 4.2 rules).
void CheckSeriesPins(PARSE_CONTEXT& ctx, const COMPONENT& c, const Names& names,
                     std::unordered_map<std::string, bool>* used) {
  const bool selectorsAllowed = ctx.ibisRelease >= IBIS_RELEASE_42;
  auto checkType = [&names](unsigned long line, const std::string& model) {
    auto found = names.models.find(Lower(model));
    if (found != names.models.end() && !IsSeriesType(found->second->modelType))
      CHECK_ReportAt(line, 5020, model.c_str(), found->second->modelType);
  };
  for (const SERIES_PIN_ROW& row : c.seriesPins) {
    auto selector = names.selectors.find(Lower(row.model));
    if (selector != names.selectors.end()) (*used)[Lower(row.model)] = true;
    if (names.models.count(Lower(row.model))) {
      checkType(row.line, row.model);
    } else if (selector != names.selectors.end() && selectorsAllowed) {
      for (const SELECTOR_ENTRY& entry : selector->second->entries) checkType(row.line, entry.model);
    } else {
      CHECK_ReportAt(row.line, 5019, row.model.c_str());
    }
  }
}

}  // namespace

int REF_IsReservedModelName(PARSE_CONTEXT& ctx, const char* name) {
  for (const ReservedName& r : kReservedNames)
    if (CMN_EqualNoCase(name, r.word) && ctx.ibisRelease >= r.since) return 1;
  return 0;
}

void REF_CheckFile(PARSE_CONTEXT& ctx) {
  if (ctx.mode != PARSE_MODE_IBS) return;
  const Names names = Collect(ctx);
  std::unordered_map<std::string, bool> used;  // selectors a pin or series pin names
  // IBIS 2.1 §5 [Pin]: model_name is a [Model] (or, 3.2 on, a [Model Selector]) of the file, or a reserved word.
  for (const COMPONENT* c = ctx.components; c; c = c->next) {
    for (const PIN_ROW& pin : c->pins) {
      if (REF_IsReservedModelName(ctx, pin.model.c_str())) continue;
      const std::string key = Lower(pin.model);
      if (names.selectors.count(key)) used[key] = true;
      if (names.models.count(key) || names.selectors.count(key)) continue;
      CHECK_ReportAt(pin.line, 5007, pin.name.c_str(), pin.model.c_str());
    }
    CheckSeriesPins(ctx, *c, names, &used);
  }
  // IBIS 3.2 §5 [Model Selector]: each entry is a [Model] of the file, and a
  // selector's name is not also a model's.
  for (const MODEL_SELECTOR* s = ctx.selectors; s; s = s->next) {
    if (names.models.count(Lower(s->name))) CHECK_ReportAt(s->line, 5031, s->name.c_str());
    for (const SELECTOR_ENTRY& entry : s->entries)
      if (!names.models.count(Lower(entry.model)))
        CHECK_ReportAt(entry.line, 5030, s->name.c_str(), entry.model.c_str());
  }
  // IBIS 3.2 §5 [Model Selector]: a selector exists to be named in the
  // model_name column of [Pin]; one that no pin names is dead text, which a
  // note points out once per selector (a repeated name is noted once).
  // Only a file with a [Pin] table is measured (without one, the missing
  // [Pin] is the fault, already reported), and a selector whose name is a
  // model's has its error already.
  bool anyPins = false;
  for (const COMPONENT* c = ctx.components; c; c = c->next) anyPins = anyPins || c->pinCount > 0;
  for (const MODEL_SELECTOR* s = anyPins ? ctx.selectors : nullptr; s; s = s->next) {
    if (s->name.empty()) continue;
    const std::string key = Lower(s->name);
    if (used.count(key) || names.models.count(key) || names.selectors.at(key) != s) continue;
    CHECK_ReportAt(s->line, 5042, s->name.c_str());
  }
}
