#include "IbisParser/sections/ComponentRails.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/Component.h"
#include "amiparam/Msg.h"

namespace {

// The columns a row must have, between `least` and `most`; 5045 otherwise.
// Returns false when the row is too short to keep.
bool RowColumns(const char* keyword, const std::vector<std::string>& words, size_t least, size_t most,
                const char* expected) {
  if (words.size() >= least && words.size() <= most) return true;
  CHECK_Report(5045, keyword, static_cast<int>(words.size()), expected);
  return words.size() >= least;
}

bool IsSupply(const std::string& model) {
  return CMN_EqualNoCase(model.c_str(), "POWER") || CMN_EqualNoCase(model.c_str(), "GND");
}

bool IsNoConnection(const std::string& word) {
  return CMN_EqualNoCase(word.c_str(), "NC") || CMN_EqualNoCase(word.c_str(), "NA");
}

// Reports (5047) each `name` of `rows` met a second time.
template <typename Row>
void EachOnce(const char* keyword, const std::vector<Row>& rows, std::string Row::*name) {
  std::unordered_map<std::string, unsigned long> seen;
  for (const Row& row : rows) {
    auto first = seen.emplace(row.*name, row.line);
    if (!first.second)
      CHECK_ReportAt(row.line, 5047, keyword, (row.*name).c_str(), static_cast<int>(first.first->second));
  }
}

// The bus labels that are tied to the component's supply pins: those in the
// [Pin Mapping] rows of POWER and GND pins (4.1 §5 [Pin Mapping], BIRD 80.1)
// and, from 7.0 on, the signal_names of POWER and GND pins and the labels
// [Bus Label] and [Die Supply Pads] give (7.0 §6 [Pin Mapping], [Bus Label],
// [Die Supply Pads]).
std::unordered_set<std::string> SupplyLabels(PARSE_CONTEXT& ctx, const COMPONENT* component) {
  std::unordered_set<std::string> labels;
  for (const PIN_MAPPING_ROW& row : component->pinMapping) {
    const PIN_ROW* pin = COMP_FindPin(component, row.pin);
    if (pin && IsSupply(pin->model)) labels.insert(row.buses.begin(), row.buses.end());
  }
  if (ctx.ibisRelease < IBIS_RELEASE_70) return labels;
  for (const PIN_ROW& pin : component->pins)
    if (IsSupply(pin.model)) labels.insert(pin.signal);
  for (const BUS_LABEL_ROW& row : component->busLabels) labels.insert(row.label);
  for (const DIE_SUPPLY_PAD_ROW& row : component->dieSupplyPads)
    if (!row.busLabel.empty()) labels.insert(row.busLabel);
  return labels;
}

// Whether every POWER and GND pin has its [Pin Mapping] row; when one has
// not (5018 says so), its labels are unknown and are not judged.
bool SupplyPinsMapped(PARSE_CONTEXT& ctx, const COMPONENT* component) {
  std::unordered_set<std::string> mapped;
  for (const PIN_MAPPING_ROW& row : component->pinMapping) mapped.insert(row.pin);
  for (const PIN_ROW& pin : component->pins)
    if (IsSupply(pin.model) && !mapped.count(pin.name) && !RAILS_MayBeUnmapped(ctx, pin.model.c_str())) return false;
  return true;
}

// [Pin Mapping] bus labels (4.1 §5, BIRD 80.1): at most 15 characters, and
// each one tied to at least one POWER or GND pin. Each label is reported
// once, at its first row.
void CheckPinMappingLabels(PARSE_CONTEXT& ctx, const COMPONENT* component) {
  if (ctx.ibisRelease < IBIS_RELEASE_42 || component->pinMapping.empty()) return;
  const bool judgeTies = SupplyPinsMapped(ctx, component);
  const std::unordered_set<std::string> supply = SupplyLabels(ctx, component);
  std::unordered_set<std::string> reported;
  for (const PIN_MAPPING_ROW& row : component->pinMapping) {
    for (const std::string& label : row.buses) {
      if (IsNoConnection(label) || !reported.insert(label).second) continue;
      if (label.size() > 15) CHECK_ReportAt(row.line, 5044, label.c_str(), 15);
      if (judgeTies && !supply.count(label)) CHECK_ReportAt(row.line, 5043, label.c_str());
    }
  }
}

}  // namespace

int RAILS_Row(COMPONENT* component, int id, const char* text) {
  std::vector<std::string> words;
  switch (id) {
    case KEY_BUS_LABEL:
      // bus_label signal_name (7.0 §6 [Bus Label]).
      words = LINE_Words(text);
      if (RowColumns("Bus Label", words, 2, 2, "2"))
        component->busLabels.push_back(BUS_LABEL_ROW{words[0], words[1], gulLineNumber});
      return 1;
    case KEY_DIE_SUPPLY_PADS:
      // pad_name signal_name [bus_label] (7.0 §6 [Die Supply Pads]).
      words = LINE_Words(text);
      if (RowColumns("Die Supply Pads", words, 2, 3, "2 or 3"))
        component->dieSupplyPads.push_back(DIE_SUPPLY_PAD_ROW{
            words[0], words[1], words.size() > 2 && !IsNoConnection(words[2]) ? words[2] : "", gulLineNumber});
      return 1;
    case KEY_CLOCK_PINS:
      // clock pin, clocked_pins, relationship (7.1 §6 [Clock Pins]).
      words = LINE_Words(text);
      if (RowColumns("Clock Pins", words, 3, 3, "3"))
        component->clockPins.push_back(CLOCK_PIN_ROW{words[0], words[1], words[2], gulLineNumber});
      return 1;
    default:
      return 0;
  }
}

bool RAILS_MayBeUnmapped(PARSE_CONTEXT& ctx, const char* model) {
  return ctx.ibisRelease >= IBIS_RELEASE_70 && (IsSupply(model) || CMN_EqualNoCase(model, "NC"));
}

void RAILS_Check(PARSE_CONTEXT& ctx, const COMPONENT* component) {
  EachOnce("Bus Label", component->busLabels, &BUS_LABEL_ROW::label);
  EachOnce("Die Supply Pads", component->dieSupplyPads, &DIE_SUPPLY_PAD_ROW::pad);
  for (const CLOCK_PIN_ROW& row : component->clockPins)
    for (const std::string* pin : {&row.pin, &row.clockedPin})
      if (!COMP_FindPin(component, *pin)) CHECK_ReportAt(row.line, 5014, "Clock Pins", pin->c_str());
  CheckPinMappingLabels(ctx, component);
}
