#include "IbisParser/passes/QualityNotes.h"

#include <cmath>
#include <string>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/passes/Relations.h"
#include "IbisParser/records/Component.h"
#include "IbisParser/records/Model.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"

namespace {

// IQ 3.0 §3.3.1: both pins of a differential pair are expected to use the
// same [Model] (a pair with a POWER, GND or NC pin has its warning, 5702).
void CheckDiffPinModels(const COMPONENT& c) {
  for (const DIFF_PIN_ROW& row : c.diffPins) {
    const std::string* a = REL_ModelOfPin(c, row.pin);
    const std::string* b = REL_ModelOfPin(c, row.invPin);
    if (!a || !b || REL_IsSupplyOrNc(*a) || REL_IsSupplyOrNc(*b) || CMN_EqualNoCase(a->c_str(), b->c_str())) continue;
    CHECK_ReportAt(row.line, 5710, row.pin.c_str(), a->c_str(), row.invPin.c_str(), b->c_str());
  }
}

constexpr double kLeakage = 1e-6;  // amperes

bool AllNumbers(const MODEL_VALUE (&v)[3]) {
  return v[0].status == CMN_VALUE_NUMBER && v[1].status == CMN_VALUE_NUMBER && v[2].status == CMN_VALUE_NUMBER;
}

// IQ 3.0 §5.1.4: the supply voltages normally follow min < typ < max; a min
// above typ or a typ above max is noted (equal corners are a fixed supply).
void CheckVoltageRange(const char* owner, const MODEL_DATA& data) {
  const MODEL_TRIPLE& range = data.voltageRange;
  if (!range.given || !AllNumbers(range.corner)) return;
  const double typ = range.corner[0].value, min = range.corner[1].value, max = range.corner[2].value;
  if (min <= typ && typ <= max) return;
  CHECK_ReportAt(range.line, 5711, owner, typ, min, max);
}

// IQ 3.0 §5.1.1, §5.3.1: min is the weak, slow corner and max the strong,
// fast one, so in the active region the currents grow from min to typ to
// max. Read at the supply voltage (the row nearest Vcc at or below it),
// where a driver's current is largest; only a fully reversed order is
// noted, since compensated buffers have corners that nearly overlay, and
// only where the typ current is above leakage (IQ 3.0 §5.3.10 counts below
// 1 uA as leakage; a driver that is off there, as some LVDS tables are,
// shows noise).
void CheckDriveOrder(const char* owner, const MODEL_DATA& data) {
  const MODEL_VALUE& vcc = data.voltageRange.corner[0];
  if (!data.voltageRange.given || vcc.status != CMN_VALUE_NUMBER || vcc.value <= 0.0) return;
  for (const MODEL_TABLE& table : data.tables) {
    if ((table.keyword != KEY_PULLDOWN && table.keyword != KEY_PULLUP) || table.faulty) continue;
    const TABLE_ROW* at = nullptr;
    for (const TABLE_ROW& row : table.rows)
      if (row.x <= vcc.value * 1.001 && row.x >= 0.5 * vcc.value && AllNumbers(row.y) && (!at || row.x > at->x))
        at = &row;
    if (!at || std::fabs(at->y[0].value) < kLeakage) continue;
    const double typ = std::fabs(at->y[0].value), min = std::fabs(at->y[1].value), max = std::fabs(at->y[2].value);
    if (min > typ && typ > max)
      CHECK_ReportAt(at->line, 5712, table.name.c_str(), owner, at->x, at->y[0].value, at->y[1].value, at->y[2].value);
  }
}

}  // namespace

void QUAL_CheckFile(PARSE_CONTEXT& ctx) {
  if (ctx.mode != PARSE_MODE_IBS) return;
  for (const COMPONENT* c = ctx.components; c; c = c->next) CheckDiffPinModels(*c);
  for (const MODEL* m = ctx.models; m; m = m->next) {
    if (!m->data) continue;
    const char* owner = m->name ? m->name : "";
    CheckVoltageRange(owner, *m->data);
    CheckDriveOrder(owner, *m->data);
  }
}
