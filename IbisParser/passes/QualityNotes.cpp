#include "IbisParser/passes/QualityNotes.h"

#include <cmath>
#include <string>
#include <vector>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/passes/Relations.h"
#include "IbisParser/records/Component.h"
#include "IbisParser/records/Header.h"
#include "IbisParser/records/Model.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/ModelKeywords.h"

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

bool GivenValue(const std::string& word) { return !word.empty() && !CMN_EqualNoCase(word.c_str(), "NA"); }

// IQ checklist 3.2.4 "[Pin] RLC complete": where a [Pin] table gives
// R_pin, L_pin and C_pin, it gives them for every signal pin (POWER, GND
// and NC pins may stay NA); a table that gives them for some signal pins
// and not others leaves those to the [Package] values silently.
void CheckPinParasitics(const COMPONENT& c) {
  if (c.pinColumns != 6) return;
  int given = 0, without = 0;
  const PIN_ROW* first = nullptr;
  for (const PIN_ROW& pin : c.pins) {
    if (REL_IsSupplyOrNc(pin.model)) continue;
    if (GivenValue(pin.r) && GivenValue(pin.l) && GivenValue(pin.c)) {
      ++given;
    } else if (++without == 1) {
      first = &pin;
    }
  }
  if (given == 0 || !first) return;
  CHECK_ReportAt(first->line, 5723, c.name ? c.name : "", without, given + without, first->name.c_str());
}

// The typ current of `table` at `x` by linear interpolation; false outside
// its rows or where a neighbouring typ is not a number.
bool TypAt(const MODEL_TABLE& table, double x, double* current) {
  for (size_t i = 1; i < table.rows.size(); ++i) {
    const TABLE_ROW &a = table.rows[i - 1], &b = table.rows[i];
    if (x < a.x || x > b.x) continue;
    if (a.y[0].status != CMN_VALUE_NUMBER || b.y[0].status != CMN_VALUE_NUMBER) return false;
    *current = b.x == a.x ? a.y[0].value : a.y[0].value + (b.y[0].value - a.y[0].value) * (x - a.x) / (b.x - a.x);
    return true;
  }
  return false;
}

constexpr double kClampConducts = 1e-3;  // amperes: a clamp row below this is not yet conducting
constexpr double kSameCurrent = 0.01;    // relative difference read as the same current

// The simulator adds [GND Clamp] and [POWER Clamp] to the [Pulldown] or
// [Pullup] that drives (BIRD 82.2), so a driving table measured with the
// clamp left in counts the clamp twice. A parser cannot tell this in
// general (BIRD 82.2 says so); this notes only the plain case: beyond the
// rail (below 0 V in the tables' own axes), at every clamp row that conducts
// 1 mA or more, two rows at least, the driving table gives the clamp's own
// typ current within 1 %.
void CheckClampTwice(const char* owner, const MODEL_DATA& data, int drive, int clampId) {
  const MODEL_TABLE* table = data.Table(drive);
  const MODEL_TABLE* clamp = data.Table(clampId);
  if (!table || !clamp || table->faulty || clamp->faulty) return;
  int same = 0;
  double from = 0.0, to = 0.0;
  for (const TABLE_ROW& row : clamp->rows) {
    if (row.x >= 0.0 || row.y[0].status != CMN_VALUE_NUMBER || std::fabs(row.y[0].value) < kClampConducts) continue;
    double current = 0.0;
    if (!TypAt(*table, row.x, &current) ||
        std::fabs(current - row.y[0].value) > kSameCurrent * std::fabs(row.y[0].value))
      return;
    from = same ? std::fmin(from, row.x) : row.x;
    to = same ? std::fmax(to, row.x) : row.x;
    ++same;
  }
  if (same >= 2) CHECK_ReportAt(table->line, 5724, table->name.c_str(), owner, clamp->name.c_str(), from, to, same);
}

bool GivesSubparam(const MODEL_DATA& data, const char* name) {
  if (data.Subparam(name)) return true;
  for (const MODEL_SUBPARAM& p : data.modelSpec)
    if (CMN_EqualNoCase(p.name.c_str(), name)) return true;
  return false;
}

// IQ checklist 4.1.13 "[Model] timing test load subparameters complete": a
// driver gives the load its vendor's timing is measured into, Vmeas and Cref
// or Rref ([Model] or [Model Spec]; a differential pair's Cref_diff or
// Rref_diff is its load). An [Algorithmic Model]'s driver is timed by its
// channel, not by a test load, and is left alone.
void CheckTimingLoad(const MODEL& m, const MODEL_DATA& data, const std::string& type) {
  if (!MODKEY_Drives(type.c_str()) || m.algModList) return;
  const bool vmeas = GivesSubparam(data, "Vmeas");
  bool load = false;
  for (const char* name : {"Cref", "Rref", "Cref_diff", "Rref_diff"}) load = load || GivesSubparam(data, name);
  if (vmeas && load) return;
  const char* missing = vmeas ? "Cref or Rref" : load ? "Vmeas" : "Vmeas, and Cref or Rref";
  CHECK_ReportAt(m.line, 5725, m.name ? m.name : "", type.c_str(), missing);
}

// The IBIS modelling cookbook's V-T data: a push-pull driver is described by
// two waveforms per edge, one into a load to ground and one into a load to
// the supply, so that a simulator sees both of its transistors switch. An
// [Algorithmic Model]'s driver is left alone, as are the Open types, which
// switch one transistor.
void CheckWaveformCount(const MODEL& m, const MODEL_DATA& data, const std::string& type) {
  if (!MODKEY_HasPulldown(type.c_str()) || !MODKEY_HasPullup(type.c_str()) || m.algModList) return;
  int rising = 0, falling = 0;
  for (const MODEL_TABLE& table : data.tables) {
    rising += table.keyword == KEY_RISING_WAVEFORM;
    falling += table.keyword == KEY_FALLING_WAVEFORM;
  }
  if (rising >= 2 && falling >= 2) return;
  CHECK_ReportAt(m.line, 5726, m.name ? m.name : "", type.c_str(), rising, falling);
}

// IQ checklist 2.6-2.8 ("[Date] is correct", "[Source] is complete",
// "[Notes] is complete"): the header says when the file was made, from what,
// and what its user should know. One note names every one not given.
void CheckHeaderKeywords(const HDR* header) {
  if (!header) return;
  static const struct {
    int seen;
    const char* name;
  } kExpected[] = {{HDR_SEEN_DATE, "[Date]"}, {HDR_SEEN_SOURCE, "[Source]"}, {HDR_SEEN_NOTES, "[Notes]"}};
  std::vector<const char*> missing;
  for (const auto& k : kExpected)
    if (!header->seen[k.seen]) missing.push_back(k.name);
  if (missing.empty()) return;
  std::string list;
  for (size_t i = 0; i < missing.size(); ++i)
    list += std::string(i == 0 ? "" : i + 1 == missing.size() ? " or " : ", ") + missing[i];
  CHECK_ReportFile(5727, list.c_str());
}

}  // namespace

void QUAL_CheckFile(PARSE_CONTEXT& ctx) {
  if (ctx.mode != PARSE_MODE_IBS) return;
  CheckHeaderKeywords(ctx.header);
  for (const COMPONENT* c = ctx.components; c; c = c->next) {
    CheckDiffPinModels(*c);
    CheckPinParasitics(*c);
  }
  for (const MODEL* m = ctx.models; m; m = m->next) {
    if (!m->data) continue;
    const char* owner = m->name ? m->name : "";
    CheckVoltageRange(owner, *m->data);
    CheckDriveOrder(owner, *m->data);
    CheckClampTwice(owner, *m->data, KEY_PULLDOWN, KEY_GND_CLAMP);
    CheckClampTwice(owner, *m->data, KEY_PULLUP, KEY_POWER_CLAMP);
    if (ctx.ibisVersion < 2) continue;  // the test load and waveforms came with 2.1
    const std::string type = MODKEY_Type(m);
    CheckTimingLoad(*m, *m->data, type);
    CheckWaveformCount(*m, *m->data, type);
  }
}
