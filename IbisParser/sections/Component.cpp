#include "IbisParser/sections/Component.h"
#include "IbisParser/base/RecordList.h"

#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/ComponentRails.h"
#include "IbisParser/sections/Pkg.h"
#include "amiparam/Cmn.h"
#include "amiparam/Msg.h"

namespace {

const char* NameOf(const COMPONENT* component) { return component->name ? component->name : ""; }

// A keyword that may stand once per component (IBIS 7.2 §5: [Manufacturer],
// [Package], [Pin], [Pin Mapping] each once): 5001 for a repeat.
void CountOnce(int* count, const char* keyword) {
  if (++*count > 1) CHECK_Report(5001, keyword);
}

// The [Pin] header: signal_name model_name, then R_pin L_pin C_pin all three
// in this order or none of them (IBIS 2.1 §5 [Pin]).
void PinHeader(COMPONENT* component, const char* text) {
  std::vector<std::string> words = LINE_Words(KEY_AfterKeyword(text));
  static const char* const kRlc[] = {"R_pin", "L_pin", "C_pin"};
  int found = 0;
  bool inOrder = true;
  for (size_t i = 0; i < words.size(); ++i) {
    for (int k = 0; k < 3; ++k) {
      if (!CMN_EqualNoCase(words[i].c_str(), kRlc[k])) continue;
      if (k != found || i != static_cast<size_t>(2 + k)) inOrder = false;
      ++found;
    }
  }
  if (found == 0) return;
  if (found != 3 || !inOrder) {
    CHECK_Report(5004);
    return;
  }
  component->pinColumns = 6;
}

// Column length limits of [Pin]: the pin name at most 5 characters (2.1 §5
// [Pin]; BIRD 93.1 left it so, and no later version changed it),
// signal_name at most 20 characters up to 4.1 and 40 from 4.2 on (BIRD
// 93.1, kept through 7.2 §6 [Pin]).
void PinNameLengths(PARSE_CONTEXT& ctx, const PIN_ROW& row) {
  if (row.name.size() > 5) CHECK_Report(5040, row.name.c_str(), 5);
  const int signalMost = ctx.ibisRelease >= IBIS_RELEASE_42 ? 40 : 20;
  if (row.signal.size() > static_cast<size_t>(signalMost))
    CHECK_Report(5041, row.signal.c_str(), row.name.c_str(), signalMost);
}

void PinRow(PARSE_CONTEXT& ctx, COMPONENT* component, const char* text,
            std::unordered_map<std::string, unsigned long>* seen) {
  // A row has the three required columns, and the three package columns
  // when the header names them; a row of three then takes the package's
  // values (IBIS 2.1 §5 [Pin]).
  std::vector<std::string> words = LINE_Words(text);
  const int expected = component->pinColumns;
  const int n = static_cast<int>(words.size());
  if (n != 3 && n != expected) {
    CHECK_Report(5005, n, expected);
    if (n < 3) return;
  }
  PIN_ROW row;
  row.name = words[0];
  row.signal = words[1];
  row.model = words[2];
  row.line = gulLineNumber;
  PinNameLengths(ctx, row);
  if (n >= 6 && expected == 6) {
    row.r = words[3];
    row.l = words[4];
    row.c = words[5];
    static const char* const kColumns[] = {"R_pin", "L_pin", "C_pin"};
    for (int k = 0; k < 3; ++k)
      if (!LINE_IsNumberOrNA(words[3 + k])) CHECK_Report(5008, kColumns[k], words[3 + k].c_str(), row.name.c_str());
  }
  auto first = seen->emplace(row.name, row.line);
  if (!first.second) {
    CHECK_Report(5006, row.name.c_str(), static_cast<int>(first.first->second));
    return;
  }
  component->pins.push_back(row);
}

// [Diff Pin] rows: pin inv_pin vdiff tdelay_typ tdelay_min tdelay_max (IBIS 2.1 §5 [Diff Pin]).
void DiffPinRow(COMPONENT* component, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 6) {
    CHECK_Report(5009, static_cast<int>(words.size()));
    if (words.size() < 2) return;
  }
  words.resize(6);
  DIFF_PIN_ROW row{words[0], words[1], words[2], words[3], words[4], words[5], gulLineNumber};
  static const char* const kColumns[] = {"vdiff", "tdelay_typ", "tdelay_min", "tdelay_max"};
  for (int k = 0; k < 4; ++k)
    if (!words[2 + k].empty() && !LINE_IsNumberOrNA(words[2 + k]))
      CHECK_Report(5012, kColumns[k], words[2 + k].c_str());
  if (row.pin == row.invPin) CHECK_Report(5013, row.pin.c_str());
  component->diffPins.push_back(row);
}

// [Pin Mapping] header and rows: pin, then pulldown_ref and pullup_ref, then
// gnd_clamp_ref and power_clamp_ref, then (4.1 on) ext_ref (IBIS 2.1 §5 [Pin Mapping]).
void PinMappingRow(PARSE_CONTEXT& ctx, COMPONENT* component, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  const size_t n = words.size();
  const size_t most = ctx.ibisRelease >= IBIS_RELEASE_42 ? 6 : 5;
  if (n != 3 && n != 5 && !(n == 6 && most == 6)) {
    CHECK_Report(5015, static_cast<int>(n), most == 6 ? "3, 5 or 6" : "3 or 5");
    if (n < 1) return;
  }
  PIN_MAPPING_ROW row;
  row.pin = words[0];
  row.buses.assign(words.begin() + 1, words.end());
  row.line = gulLineNumber;
  component->pinMapping.push_back(row);
}

// [Series Pin Mapping] rows: pin_1 pin_2 model_name [function_table_group] (IBIS 3.2 §5).
void SeriesPinRow(COMPONENT* component, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 3 && words.size() != 4) {
    CHECK_Report(5021, static_cast<int>(words.size()));
    if (words.size() < 3) return;
  }
  component->seriesPins.push_back(
      SERIES_PIN_ROW{words[0], words[1], words[2], words.size() > 3 ? words[3] : std::string(), gulLineNumber});
}

// [Series Switch Groups] lines: On or Off, group names, and "/" (IBIS 3.2 §5).
void SwitchGroupLine(COMPONENT* component, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.empty()) return;
  const bool on = CMN_EqualNoCase(words[0].c_str(), "On");
  if (!on && !CMN_EqualNoCase(words[0].c_str(), "Off")) {
    CHECK_Report(5023);
    return;
  }
  SWITCH_GROUP group{on, {}, gulLineNumber};
  bool closed = false;
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "/") {
      closed = i + 1 == words.size();
      break;
    }
    group.groups.push_back(words[i]);
  }
  if (!closed || group.groups.empty()) CHECK_Report(5023);
  component->switchGroups.push_back(group);
}

// [Repeater Pin] rows: the Rx pin and its tx_non_inv_pin (IBIS 6.0 §5).
void RepeaterPinRow(COMPONENT* component, const char* text) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 2) {
    CHECK_Report(5024, static_cast<int>(words.size()));
    if (words.size() < 2) return;
  }
  component->repeaterPins.push_back(REPEATER_PIN_ROW{words[0], words[1], gulLineNumber});
}

// Si_location and Timing_location: Die or Pin (IBIS 3.2 §5 [Component]).
void LocationLine(COMPONENT* component, const char* text) {
  std::vector<std::string> words = LINE_AssignWords(text);
  if (words.empty()) return;
  std::string* place = CMN_EqualNoCase(words[0].c_str(), "Si_location")       ? &component->siLocation
                       : CMN_EqualNoCase(words[0].c_str(), "Timing_location") ? &component->timingLocation
                                                                              : nullptr;
  if (!place) {
    CHECK_Report(5002, words[0].c_str());
    return;
  }
  const std::string value = words.size() > 1 ? words[1] : std::string();
  if (words.size() != 2 || (!CMN_EqualNoCase(value.c_str(), "Die") && !CMN_EqualNoCase(value.c_str(), "Pin")))
    CHECK_Report(5003, words[0].c_str(), value.c_str());
  *place = value;
}

void KeywordLine(COMPONENT* component, int id, const char* text) {
  const char* rest = KEY_AfterKeyword(text);
  switch (id) {
    case KEY_COMPONENT:
      if (!component->name && rest && *rest) component->name = CMN_StrDup(rest);
      component->line = gulLineNumber;
      if (!rest || !*rest) CHECK_Report(5010);
      break;
    case KEY_MANUFACTURER:
      CountOnce(&component->manufacturerCount, "Manufacturer");
      if (rest && component->manufacturer.empty()) component->manufacturer = rest;
      if (!rest || !*rest) CHECK_Report(5011, "Manufacturer");
      break;
    case KEY_PACKAGE:
      CountOnce(&component->packageCount, "Package");
      if (!component->package) PKG_Create(&component->package);
      break;
    case KEY_PIN:
      CountOnce(&component->pinCount, "Pin");
      if (component->pinCount == 1) PinHeader(component, text);
      break;
    case KEY_PIN_MAPPING:
      CountOnce(&component->pinMappingCount, "Pin Mapping");
      break;
    default:
      break;
  }
}

}  // namespace

void COMP_Begin(PARSE_CONTEXT& ctx) {
  COMPONENT* component = new COMPONENT();
  LIST_Append(&ctx.components, &ctx.lastComponent, component);
  ctx.component = component;
  ctx.pinsSeen.clear();
}

void COMP_Line(PARSE_CONTEXT& ctx, int kind, int id, const char* text) {
  COMPONENT* component = ctx.component;
  if (!component) return;  // a component keyword outside a component
  if (LINKS_Line(component, kind, id, text)) return;
  if (kind == PARSE_LINE_KEYWORD) {
    KeywordLine(component, id, text);
    return;
  }
  switch (id) {
    case KEY_COMPONENT:
      LocationLine(component, text);
      break;
    case KEY_PACKAGE:
      if (component->package) PKG_ReadLine(component->package, text);
      break;
    case KEY_PIN:
      if (component->pinCount == 1) PinRow(ctx, component, text, &ctx.pinsSeen);
      break;
    case KEY_PIN_MAPPING:
      if (component->pinMappingCount == 1) PinMappingRow(ctx, component, text);
      break;
    case KEY_DIFF_PIN:
      DiffPinRow(component, text);
      break;
    case KEY_SERIES_PIN_MAPPING:
      SeriesPinRow(component, text);
      break;
    case KEY_SERIES_SWITCH_GROUPS:
      SwitchGroupLine(component, text);
      break;
    case KEY_REPEATER_PIN:
      RepeaterPinRow(component, text);
      break;
    default:
      RAILS_Row(component, id, text);
      break;
  }
}

const PIN_ROW* COMP_FindPin(const COMPONENT* component, const std::string& name) {
  for (const PIN_ROW& pin : component->pins)
    if (pin.name == name) return &pin;
  return nullptr;
}

namespace {

// The checks that need the whole component: required keywords (IBIS 7.2 §5:
// [Manufacturer], [Package] and [Pin] are required in every [Component]),
// and the pins that [Diff Pin], [Pin Mapping] and [Series Pin Mapping] name.
void CheckComplete(PARSE_CONTEXT& ctx, const COMPONENT* component) {
  const char* name = NameOf(component);
  const unsigned long at = component->line;
  if (component->manufacturerCount == 0) CHECK_ReportAt(at, 5000, name, "Manufacturer");
  if (component->packageCount == 0) CHECK_ReportAt(at, 5000, name, "Package");
  if (component->pinCount == 0) CHECK_ReportAt(at, 5000, name, "Pin");
  if (component->pinCount == 0) return;  // no pins to check the other tables against

  std::unordered_map<std::string, unsigned long> paired;
  for (const DIFF_PIN_ROW& row : component->diffPins) {
    for (const std::string* pin : {&row.pin, &row.invPin}) {
      if (!COMP_FindPin(component, *pin)) CHECK_ReportAt(row.line, 5014, "Diff Pin", pin->c_str());
      if (pin == &row.invPin && row.invPin == row.pin) continue;
      auto first = paired.emplace(*pin, row.line);
      if (!first.second) CHECK_ReportAt(row.line, 5016, pin->c_str(), static_cast<int>(first.first->second));
    }
  }
  std::unordered_set<std::string> mapped;
  for (const PIN_MAPPING_ROW& row : component->pinMapping) {
    if (!COMP_FindPin(component, row.pin)) CHECK_ReportAt(row.line, 5014, "Pin Mapping", row.pin.c_str());
    if (!mapped.insert(row.pin).second) CHECK_ReportAt(row.line, 5017, row.pin.c_str());
  }
  // IBIS 2.1 §5 [Pin Mapping]: once given, it lists every pin of [Pin];
  // from 7.0 on (§6 [Pin Mapping]) every pin but the POWER, GND and NC ones.
  if (component->pinMappingCount > 0)
    for (const PIN_ROW& pin : component->pins)
      if (!mapped.count(pin.name) && !RAILS_MayBeUnmapped(ctx, pin.model.c_str()))
        CHECK_ReportAt(pin.line, 5018, pin.name.c_str());
  std::unordered_set<std::string> groups;
  for (const SERIES_PIN_ROW& row : component->seriesPins) {
    for (const std::string* pin : {&row.pin1, &row.pin2})
      if (!COMP_FindPin(component, *pin)) CHECK_ReportAt(row.line, 5014, "Series Pin Mapping", pin->c_str());
    if (!row.group.empty()) groups.insert(row.group);
  }
  for (const REPEATER_PIN_ROW& row : component->repeaterPins)
    for (const std::string* pin : {&row.pin, &row.txNonInvPin})
      if (!COMP_FindPin(component, *pin)) CHECK_ReportAt(row.line, 5014, "Repeater Pin", pin->c_str());
  // IBIS 3.2 §5 [Series Switch Groups]: the groups are function_table_group names of [Series Pin Mapping].
  for (const SWITCH_GROUP& group : component->switchGroups)
    for (const std::string& g : group.groups)
      if (!groups.count(g)) CHECK_ReportAt(group.line, 5022, g.c_str());
  RAILS_Check(ctx, component);
}

}  // namespace

int COMP_End(PARSE_CONTEXT& ctx, int nextId) {
  COMPONENT* component = ctx.component;
  if (!component) return 1;
  if (KEY_SectionOf(nextId) == KEY_SECTION_COMPONENT && nextId != KEY_COMPONENT) return 0;
  if (component->package) PKG_CheckComplete(component->package, component->name);
  CheckComplete(ctx, component);
  ctx.component = nullptr;
  ctx.pinsSeen.clear();
  return 1;
}
