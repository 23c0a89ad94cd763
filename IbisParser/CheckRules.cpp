#include "IbisParser/CheckRules.h"

#include "IbisParser/ModelCheckRules.h"
#include "amiparam/MsgCatalogue.h"

const CHECK_RULE gaCheckRules[] = {
    {5000, "ERROR", "[Manufacturer], [Package] and [Pin] are required in every [Component]", "2.1 §5 [Component]"},
    {5001, "ERROR", "[Manufacturer], [Package], [Pin] and [Pin Mapping] stand once per component", "2.1 §5"},
    {5002, "ERROR", "only Si_location and Timing_location follow [Component]", "3.2 §5 [Component]"},
    {5003, "ERROR", "Si_location and Timing_location are Die or Pin", "3.2 §5 [Component]"},
    {5004, "ERROR", "R_pin, L_pin and C_pin columns come all three or none, in this order", "2.1 §5 [Pin]"},
    {5005, "ERROR", "a pin row has three columns, or the six its header names", "2.1 §5 [Pin]"},
    {5006, "ERROR", "each pin is listed once", "2.1 §5 [Pin]"},
    {5007, "ERROR", "model_name is a [Model] or [Model Selector] of the file, or POWER, GND, NC (CIRCUITCALL from 4.2)",
     "2.1 §5 [Pin]; 3.2 [Model Selector]; 4.2 [Circuit Call]"},
    {5008, "ERROR", "R_pin, L_pin and C_pin are numbers or NA", "2.1 §5 [Pin]"},
    {5009, "ERROR", "a [Diff Pin] row has pin, inv_pin, vdiff and three tdelay columns", "2.1 §5 [Diff Pin]"},
    {5010, "ERROR", "[Component] gives the component's name", "2.1 §5 [Component]"},
    {5011, "ERROR", "[Manufacturer] and [Model Selector] give a name", "2.1 §5 [Manufacturer]; 3.2 [Model Selector]"},
    {5012, "ERROR", "vdiff and tdelay columns are numbers or NA", "2.1 §5 [Diff Pin]"},
    {5013, "ERROR", "a differential pair joins two different pins", "2.1 §5 [Diff Pin]"},
    {5014, "ERROR", "[Diff Pin], [Pin Mapping], [Series Pin Mapping] and [Repeater Pin] name pins of [Pin]",
     "2.1 §5 [Diff Pin], [Pin Mapping]; 3.2 [Series Pin Mapping]; 6.0 [Repeater Pin]"},
    {5015, "ERROR", "a [Pin Mapping] row has 3 or 5 columns (6 with ext_ref, 4.1 on)", "2.1 §5 [Pin Mapping]"},
    {5016, "ERROR", "a pin is in one differential pair at most", "2.1 §5 [Diff Pin]"},
    {5017, "ERROR", "[Pin Mapping] lists each pin once", "2.1 §5 [Pin Mapping]"},
    {5018, "ERROR", "once [Pin Mapping] is given, it lists every pin of [Pin]", "2.1 §5 [Pin Mapping]"},
    {5019, "ERROR", "[Series Pin Mapping] names a [Model] of the file", "3.2 §5 [Series Pin Mapping]"},
    {5020, "ERROR", "that model's Model_type is Series or Series_switch", "3.2 §5 [Series Pin Mapping]"},
    {5021, "ERROR", "a [Series Pin Mapping] row has pin_1, pin_2, model_name and an optional group", "3.2 §5"},
    {5022, "ERROR", "switch groups name function_table_group values of [Series Pin Mapping]",
     "3.2 §5 [Series Switch Groups]"},
    {5023, "ERROR", "a group line is On or Off, the group names and '/'", "3.2 §5 [Series Switch Groups]"},
    {5024, "ERROR", "a [Repeater Pin] row gives the Rx pin and its tx_non_inv_pin", "6.0 §5 [Repeater Pin]"},
    {5030, "ERROR", "each entry of a [Model Selector] is a [Model] of the file", "3.2 §5 [Model Selector]"},
    {5031, "ERROR", "a selector's name is not also a model's name", "3.2 §5 [Model Selector]"},
    {5032, "ERROR", "a [Model Selector] lists at least one model", "3.2 §5 [Model Selector]"},
    {5033, "ERROR", "a selector row gives a model name and a description", "3.2 §5 [Model Selector]"},
};

const int giCheckRuleCount = static_cast<int>(sizeof(gaCheckRules) / sizeof(gaCheckRules[0]));

std::string CHECK_RulesPage() {
  std::string page =
      "# Checks of the component section\n\n"
      "Every check of `[Component]` and the keywords inside it, and of the names\n"
      "pins, series pins and model selectors give to models, as `tessalune check`\n"
      "prints it. The source column names the IBIS version that introduced the rule\n"
      "and the section of the standard that states it; a later version keeps it.\n"
      "Generated from `IbisParser/CheckRules.cpp` by `tessalune check --list-checks`\n"
      "(a test compares this page with the rows).\n\n"
      "| id | severity | text | rule | version and section |\n"
      "|---|---|---|---|---|\n";
  for (int i = 0; i < giCheckRuleCount; ++i) page += CHECK_RuleRow(gaCheckRules[i]);
  page += CHECK_ModelRulesSection();
  return page;
}

std::string CHECK_RuleRow(const CHECK_RULE& r) {
  const char* text = MSG_Lookup(r.code);
  std::string escaped;
  for (const char* p = text ? text : ""; *p; ++p) escaped += *p == '|' ? std::string("\\|") : std::string(1, *p);
  return "| " + std::to_string(r.code) + " | " + r.severity + " | `" + escaped + "` | " + r.rule + " | " + r.source +
         " |\n";
}
