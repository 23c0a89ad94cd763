#include "IbisParser/rules/RuleBook.h"

#include "IbisParser/rules/CheckRules.h"
#include "IbisParser/rules/FileCheckRules.h"
#include "IbisParser/rules/ModelCheckRules.h"
#include "IbisParser/rules/RelationRules.h"
#include "amiparam/Msg.h"
#include "amiparam/MsgCatalogue.h"

namespace {

struct Table {
  const CHECK_RULE* rows;
  int count;
};

// The four tables in the order of RULES_At.
constexpr int kTables = 4;
Table TableOf(int which) {
  if (which == 0) return {gaCheckRules, giCheckRuleCount};
  if (which == 1) return {gaModelCheckRules, giModelCheckRuleCount};
  if (which == 2) return {gaFileCheckRules, giFileCheckRuleCount};
  return {gaRelationRules, giRelationRuleCount};
}

// The printer finds the rows' messages from the moment the checker is
// loaded, before any thread prints.
[[maybe_unused]] const bool kRegistered = (MSG_SetTextLookup(RULES_TextOf), true);

}  // namespace

int RULES_Count() { return giCheckRuleCount + giModelCheckRuleCount + giFileCheckRuleCount + giRelationRuleCount; }

const CHECK_RULE& RULES_At(int i) {
  for (int which = 0; which < kTables - 1; ++which) {
    const Table t = TableOf(which);
    if (i < t.count) return t.rows[i];
    i -= t.count;
  }
  return TableOf(kTables - 1).rows[i];
}

const CHECK_RULE* RULES_Find(int code) {
  for (int which = 0; which < kTables; ++which) {
    const Table t = TableOf(which);
    for (int i = 0; i < t.count; ++i)
      if (t.rows[i].code == code) return &t.rows[i];
  }
  return nullptr;
}

const char* RULES_Text(const CHECK_RULE& rule) { return rule.message ? rule.message : MSG_Lookup(rule.code); }

const char* RULES_TextOf(int code) {
  const CHECK_RULE* rule = RULES_Find(code);
  return rule ? RULES_Text(*rule) : nullptr;
}

std::string RULES_Row(const CHECK_RULE& r) {
  const char* text = RULES_Text(r);
  std::string escaped;
  for (const char* p = text ? text : ""; *p; ++p) escaped += *p == '|' ? std::string("\\|") : std::string(1, *p);
  return "| " + std::to_string(r.code) + " | " + r.severity + " | `" + escaped + "` | " + r.rule + " | " + r.source +
         " |\n";
}

std::string RULES_Page() {
  std::string page =
      "# Checks of components, package models, boards, interconnect and models\n\n"
      "Every check of `[Component]` and the keywords inside it, and of the names\n"
      "pins, series pins and model selectors give to models, as `tessalune check`\n"
      "prints it; then (ids 5400 on) the package models, board descriptions,\n"
      "external models and circuits and interconnect model sets, and last the\n"
      "models.\n"
      "The source column names the IBIS version that introduced the rule\n"
      "and the section of the standard that states it; a later version keeps it.\n"
      "Severity: ERROR where the standard's text says \"must\" or \"required\"\n"
      "(the source quotes it where it was checked against the text); WARNING\n"
      "for a \"should\", and for a rule whose \"must\" has not yet been confirmed\n"
      "against the standard's text; NOTE for advice.\n"
      "Generated from `IbisParser/rules/CheckRules.cpp` by `tessalune check --list-checks`\n"
      "(a test compares this page with the rows).\n\n"
      "| id | severity | text | rule | version and section |\n"
      "|---|---|---|---|---|\n";
  for (int i = 0; i < giCheckRuleCount; ++i) page += RULES_Row(gaCheckRules[i]);
  page += RULES_ModelSection();
  page += RULES_FileSection();
  page += RULES_RelationSection();
  return page;
}

std::string RULES_ModelSection() {
  auto percent = [](double fraction) { return std::to_string(static_cast<int>(fraction * 100.0 + 0.5)); };
  std::string page =
      "\n# Checks of the model section\n\n"
      "Every check of `[Model]`, the keywords inside it and `[Submodel]`, and of\n"
      "the names models give each other. Generated from\n"
      "`IbisParser/rules/ModelCheckRules.cpp`. The consistency warnings (5300-5302)\n"
      "compare numbers of the same model with these tolerances:\n\n"
      "- 5300: each `[Rising Waveform]` and `[Falling Waveform]` row at the start\n"
      "  and end, per corner, against the pin voltage where the I-V tables of the\n"
      "  state (pull-down or pull-up, plus both clamps, at their reference\n"
      "  voltages) carry the current the fixture gives, (V_fixture - V) /\n"
      "  R_fixture. Allowed difference: " +
      percent(MODCONS_LEVEL_TOLERANCE) +
      " % of the corner's supply voltage or of the\n"
      "  level, whichever is larger (outputs with a charge pump swing beyond the\n"
      "  supply), at least 20 mV: generators write tables from transient runs that settle to\n"
      "  within a few per cent, and a table read at its last row has not always\n"
      "  settled; a real mismatch (a table scaled, the wrong corner or fixture)\n"
      "  is larger. Models with `[Driver Schedule]` or `[Add Submodel]` are\n"
      "  left out: their DC level is not the I-V tables' alone.\n"
      "- 5301: `[Ramp]`'s dV/dt against the 20-80 % slope of the waveforms whose\n"
      "  R_fixture equals R_load (within 1 %) and that have no C or L in the\n"
      "  fixture, the closest of them; allowed: " +
      percent(MODCONS_RAMP_TOLERANCE) +
      " %, since both are measured on\n"
      "  the same edge into the same load and differ only by rounding and the\n"
      "  tables' time step.\n"
      "- 5302: between 0 V and the supply, a fall below the largest current\n"
      "  reached so far by more than " +
      percent(MODCONS_MONOTONIC_TOLERANCE) +
      " % of the column's largest current.\n"
      "  Smaller dips come from measured data (a few per cent of noise) and from\n"
      "  transistors that heat up; a table that collapses or swaps corners does\n"
      "  not.\n\n"
      "| id | severity | text | rule | version and section |\n"
      "|---|---|---|---|---|\n";
  for (int i = 0; i < giModelCheckRuleCount; ++i) page += RULES_Row(gaModelCheckRules[i]);
  return page;
}

namespace {

// A section of the page: its heading and introduction, then the table of `rows`.
std::string Section(const std::string& intro, const CHECK_RULE* rows, int count) {
  std::string page = intro +
                     "| id | severity | text | rule | version and section |\n"
                     "|---|---|---|---|---|\n";
  for (int i = 0; i < count; ++i) page += RULES_Row(rows[i]);
  return page;
}

}  // namespace

std::string RULES_FileSection() {
  return Section(
      "\n# Checks of the file, its header, [Package] and [Algorithmic Model]\n\n"
      "The line and keyword rules of every file, the file header, the package\n"
      "parasitics of a component, the numbers and typ/min/max columns, and the\n"
      "`[Algorithmic Model]` block with its `.ami` files. Generated from\n"
      "`IbisParser/rules/FileCheckRules.cpp`. Rows whose source is \"checker\" are\n"
      "limits and faults of the checker itself, not rules of the standard.\n\n",
      gaFileCheckRules, giFileCheckRuleCount);
}

std::string RULES_RelationSection() {
  return Section(
      "\n# Checks of what ties keywords and values to each other\n\n"
      "Rules that compare one value with another: a model's input thresholds\n"
      "and capacitances, the voltage span of its I-V tables against its supply,\n"
      "the pins a differential pair joins, the values an `.ami` parameter's\n"
      "format allows its Default. Generated from\n"
      "`IbisParser/rules/RelationRules.cpp`. \"IQ 3.0\" is version 3.0 of the IBIS\n"
      "Quality checks of the IBIS Open Forum; a rule that stands only there is a\n"
      "WARNING at most.\n\n",
      gaRelationRules, giRelationRuleCount);
}
