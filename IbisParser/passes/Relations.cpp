#include "IbisParser/passes/Relations.h"

#include <algorithm>
#include <string>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/Component.h"
#include "IbisParser/records/Model.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/IvTable.h"
#include "IbisParser/sections/ModelKeywords.h"

namespace {

const char* const kCorners[] = {"typ", "min", "max"};

// The first value of subparameter `name` when it is a number.
bool FirstNumber(const MODEL_DATA& data, const char* name, double* value, const MODEL_SUBPARAM** sub) {
  *sub = data.Subparam(name);
  return *sub && !(*sub)->values.empty() && TABLE_Value((*sub)->values[0].c_str(), value) == CMN_VALUE_NUMBER;
}

// 2.1 §6 [Model]: Vinl is the threshold for a logic low, Vinh for a logic
// high; a low threshold above the high one turns the receiver's uncertainty
// region inside out (equal values are a single threshold and pass).
void CheckThresholds(const char* owner, const MODEL_DATA& data) {
  double low = 0.0, high = 0.0;
  const MODEL_SUBPARAM *vinl = nullptr, *vinh = nullptr;
  if (!FirstNumber(data, "Vinl", &low, &vinl) || !FirstNumber(data, "Vinh", &high, &vinh) || low <= high) return;
  CHECK_ReportAt(vinl->line > vinh->line ? vinl->line : vinh->line, 5700, owner, vinl->values[0].c_str(),
                 vinh->values[0].c_str());
}

// 2.1 §6 C_comp, 4.0 C_comp_*: a die capacitance; a negative one is a sign
// slip. One report per line, for its first negative column.
void CheckCapacitances(const char* owner, const MODEL_DATA& data) {
  static const char* const kNames[] = {"C_comp", "C_comp_pullup", "C_comp_pulldown", "C_comp_power_clamp",
                                       "C_comp_gnd_clamp"};
  for (const MODEL_SUBPARAM& sub : data.subparams) {
    bool named = false;
    for (const char* name : kNames) named = named || CMN_EqualNoCase(sub.name.c_str(), name);
    for (size_t c = 0; named && c < 3 && c < sub.values.size(); ++c) {
      double value = 0.0;
      if (TABLE_Value(sub.values[c].c_str(), &value) != CMN_VALUE_NUMBER || value >= 0.0) continue;
      CHECK_ReportAt(sub.line, 5701, owner, sub.name.c_str(), kCorners[c], sub.values[c].c_str());
      break;
    }
  }
}

// The typ value of a reference keyword when given as a number, else [Voltage Range]'s; 0 when neither.
double Supply(const MODEL_TRIPLE& reference, const MODEL_DATA& data) {
  if (reference.given && reference.corner[0].status == CMN_VALUE_NUMBER) return reference.corner[0].value;
  return data.voltageRange.corner[0].status == CMN_VALUE_NUMBER ? data.voltageRange.corner[0].value : 0.0;
}

// The voltage span each I-V table should sweep, in multiples of Vcc (IQ 3.0
// §5.3.2-5.3.5): [Pulldown] and [Pullup] -Vcc to 2 Vcc, [POWER Clamp] at least
// -Vcc to 0, [GND Clamp] at least -Vcc to Vcc; Vcc is [Pullup Reference] for
// the first two, [POWER Clamp Reference] for the clamps, else [Voltage Range].
struct Span {
  int keyword;
  double low, high;
  bool clampReference;
};
constexpr Span kSpans[] = {{KEY_PULLDOWN, -1.0, 2.0, false},
                           {KEY_PULLUP, -1.0, 2.0, false},
                           {KEY_POWER_CLAMP, -1.0, 0.0, true},
                           {KEY_GND_CLAMP, -1.0, 1.0, true}};
constexpr double kSpanTolerance = 0.02;  // of Vcc: sweeps written with rounded end points pass

// One report per table that stops short of its span at either end.
void CheckSpans(const char* owner, const MODEL_DATA& data) {
  for (const MODEL_TABLE& table : data.tables) {
    for (const Span& span : kSpans) {
      if (table.keyword != span.keyword || table.faulty || table.rows.size() < 2) continue;
      const double vcc = Supply(span.clampReference ? data.powerClampRef : data.pullupRef, data);
      if (vcc <= 0.0) continue;
      auto [lowest, highest] = std::minmax_element(table.rows.begin(), table.rows.end(),
                                                   [](const TABLE_ROW& a, const TABLE_ROW& b) { return a.x < b.x; });
      const double slack = kSpanTolerance * vcc;
      if (lowest->x <= span.low * vcc + slack && highest->x >= span.high * vcc - slack) continue;
      CHECK_ReportAt(table.line, 5706, table.name.c_str(), owner, lowest->x, highest->x, span.low * vcc,
                     span.high * vcc, vcc);
    }
  }
}

// 2.1 §5 [Diff Pin]: "Enter only differential pin pairs"; a POWER, GND or
// NC pin carries no buffer to pair. One report per row, for its first such pin.
void CheckDiffPins(const COMPONENT& c) {
  for (const DIFF_PIN_ROW& row : c.diffPins) {
    for (const std::string* pin : {&row.pin, &row.invPin}) {
      const std::string* model = REL_ModelOfPin(c, *pin);
      if (!model || !REL_IsSupplyOrNc(*model)) continue;
      CHECK_ReportAt(row.line, 5702, pin->c_str(), model->c_str());
      break;
    }
  }
}

// 2.1 §5 [Pin Mapping]: "For GND pins, the pulldown_ref column contains
// the name of the bus to which the pin connects; the pullup_ref column in
// this case must contain the reserved word NC", and the other way round for
// POWER pins. One report per row.
void CheckSupplyMapping(const COMPONENT& c) {
  for (const PIN_MAPPING_ROW& row : c.pinMapping) {
    const std::string* model = REL_ModelOfPin(c, row.pin);
    if (!model || row.buses.size() < 2) continue;
    const bool gnd = CMN_EqualNoCase(model->c_str(), "GND"), power = CMN_EqualNoCase(model->c_str(), "POWER");
    if (!gnd && !power) continue;
    const std::string& other = row.buses[gnd ? 1 : 0];
    if (CMN_EqualNoCase(other.c_str(), "NC")) continue;
    CHECK_ReportAt(row.line, 5714, gnd ? "GND" : "POWER", row.pin.c_str(), gnd ? "pullup_ref" : "pulldown_ref",
                   other.c_str());
  }
}

// 2.1 §6 [Model]: "If one or more of [Rgnd], [Rpower], [Rac], and [Cac]
// keywords are used, then the Model_type must be Terminator". One report per
// model, at its first such keyword; a model without Model_type has its own
// warning (5100).
void CheckTerminatorKeywords(const MODEL& m, const MODEL_DATA& data) {
  const std::string type = MODKEY_Type(&m);
  if (type.empty() || CMN_EqualNoCase(type.c_str(), "Terminator")) return;
  for (const MODEL_KEYWORD& k : data.keywords) {
    if (k.id < MKEY_RGND || k.id > MKEY_CAC) continue;
    CHECK_ReportAt(k.line, 5715, m.name ? m.name : "", MODKEY_Name(k.id), type.c_str());
    return;
  }
}

}  // namespace

const std::string* REL_ModelOfPin(const COMPONENT& c, const std::string& pin) {
  for (const PIN_ROW& row : c.pins)
    if (row.name == pin) return &row.model;
  return nullptr;
}

bool REL_IsSupplyOrNc(const std::string& model) {
  return CMN_EqualNoCase(model.c_str(), "POWER") || CMN_EqualNoCase(model.c_str(), "GND") ||
         CMN_EqualNoCase(model.c_str(), "NC");
}

void REL_CheckFile(PARSE_CONTEXT& ctx) {
  if (ctx.mode != PARSE_MODE_IBS) return;
  for (const COMPONENT* c = ctx.components; c; c = c->next) {
    CheckDiffPins(*c);
    CheckSupplyMapping(*c);
  }
  for (const MODEL* m = ctx.models; m; m = m->next) {
    if (!m->data) continue;
    const char* owner = m->name ? m->name : "";
    CheckThresholds(owner, *m->data);
    CheckCapacitances(owner, *m->data);
    CheckSpans(owner, *m->data);
    CheckTerminatorKeywords(*m, *m->data);
  }
}
