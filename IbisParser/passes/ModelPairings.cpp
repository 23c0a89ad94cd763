#include "IbisParser/passes/ModelPairings.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/Model.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/IvTable.h"
#include "IbisParser/sections/ModelKeywords.h"

namespace {

const MODEL_SUBPARAM* Named(const std::vector<MODEL_SUBPARAM>& list, const char* name) {
  for (const MODEL_SUBPARAM& s : list)
    if (CMN_EqualNoCase(s.name.c_str(), name)) return &s;
  return nullptr;
}

bool TypeIn(const std::string& type, std::initializer_list<const char*> types) {
  for (const char* t : types)
    if (CMN_EqualNoCase(type.c_str(), t)) return true;
  return false;
}

// IQ 3.0 §5.2.14: a threshold that follows a reference voltage needs "both
// Threshold_sensitivity and Reference_supply parameters" in [Receiver
// Thresholds]; one without the other leaves the threshold half described.
void CheckSensitivity(const char* owner, const MODEL_DATA& data) {
  const MODEL_SUBPARAM* sensitivity = Named(data.receiverThresholds, "Threshold_sensitivity");
  const MODEL_SUBPARAM* supply = Named(data.receiverThresholds, "Reference_supply");
  if (sensitivity && !supply)
    CHECK_ReportAt(sensitivity->line, 5716, owner, "Threshold_sensitivity", "Reference_supply");
  else if (supply && !sensitivity)
    CHECK_ReportAt(supply->line, 5716, owner, "Reference_supply", "Threshold_sensitivity");
}

// The typ value of `name` from [Model Spec] when given there as a number,
// else from the [Model] subparameters; the line it stands on in *line.
bool TypOf(const MODEL_DATA& data, const char* name, double* value, unsigned long* line) {
  for (const std::vector<MODEL_SUBPARAM>* list : {&data.modelSpec, &data.subparams}) {
    const MODEL_SUBPARAM* s = Named(*list, name);
    if (s && !s->values.empty() && TABLE_Value(s->values[0].c_str(), value) == CMN_VALUE_NUMBER) {
      *line = s->line;
      return true;
    }
  }
  return false;
}

// IQ 3.0 §5.6.2: "For Open-drain models [Model] or [Model Spec] Vref must
// be above Vmeas ... For Open-source ... Vref must be below Vmeas ... For
// ECL models Vref must be below Vmeas". Open_sink is left alone: the same
// sentence puts it with Open-source, where IBIS makes it an Open_drain.
void CheckVrefSide(const char* owner, const MODEL_DATA& data, const std::string& type) {
  const bool above = TypeIn(type, {"Open_drain", "I/O_open_drain"});
  const bool below = TypeIn(type, {"Open_source", "I/O_open_source", "Output_ECL", "I/O_ECL", "3-state_ECL"});
  double vref = 0.0, vmeas = 0.0;
  unsigned long refLine = 0, measLine = 0;
  if ((!above && !below) || !TypOf(data, "Vref", &vref, &refLine) || !TypOf(data, "Vmeas", &vmeas, &measLine)) return;
  if (above ? vref > vmeas : vref < vmeas) return;
  CHECK_ReportAt(std::max(refLine, measLine), 5717, owner, type.c_str(), vref, above ? "above" : "below", vmeas);
}

// IQ 3.0 §5.7.1: a model that drives gives both [ISSO PU] and [ISSO PD]
// (5.0 on); one without the other is reported at the one given.
void CheckIssoPair(const char* owner, const MODEL_DATA& data) {
  const MODEL_KEYWORD* pu = data.Keyword(MKEY_ISSO_PU);
  const MODEL_KEYWORD* pd = data.Keyword(MKEY_ISSO_PD);
  if (pu && !pd) CHECK_ReportAt(pu->line, 5718, owner, "ISSO PU", "ISSO PD");
  if (pd && !pu) CHECK_ReportAt(pd->line, 5718, owner, "ISSO PD", "ISSO PU");
}

bool IsWaveform(int id) { return id == KEY_RISING_WAVEFORM || id == KEY_FALLING_WAVEFORM; }

// The smallest and largest time of a table's rows (rows may be unsorted).
void TimeSpan(const MODEL_TABLE& t, double* first, double* last) {
  auto [lo, hi] = std::minmax_element(t.rows.begin(), t.rows.end(),
                                      [](const TABLE_ROW& a, const TABLE_ROW& b) { return a.x < b.x; });
  *first = lo->x;
  *last = hi->x;
}

// Two times alike to a part in a million of the waveform's span.
bool SameTime(double a, double b, double span) { return std::fabs(a - b) <= 1e-6 * std::fabs(span) + 1e-18; }

// IQ 3.0 §5.8.1, §5.8.2: [Composite Current] is subordinate to the
// [Rising Waveform] or [Falling Waveform] before it, and its first and last
// time points "must be the same as" the waveform's. One report per table.
void CheckCompositeCurrents(const char* owner, const MODEL_DATA& data) {
  const MODEL_TABLE* parent = nullptr;
  for (const MODEL_TABLE& t : data.tables) {
    if (t.keyword != MKEY_COMPOSITE_CURRENT) {
      parent = IsWaveform(t.keyword) ? &t : nullptr;
      continue;
    }
    if (!parent) {
      CHECK_ReportAt(t.line, 5719, owner);
      continue;
    }
    if (t.faulty || parent->faulty || t.rows.size() < 2 || parent->rows.size() < 2) continue;
    double first = 0.0, last = 0.0, parentFirst = 0.0, parentLast = 0.0;
    TimeSpan(t, &first, &last);
    TimeSpan(*parent, &parentFirst, &parentLast);
    const double span = parentLast - parentFirst;
    if (SameTime(first, parentFirst, span) && SameTime(last, parentLast, span)) continue;
    CHECK_ReportAt(t.line, 5720, owner, first, last, parent->name.c_str(), static_cast<int>(parent->line), parentFirst,
                   parentLast);
  }
}

// 3.2 §6a [Add Submodel] (BIRD 48.4): "The submodel mode cannot conflict
// with the top-level model type": an Open or Output type has no
// Non-Driving mode, an Input type no Driving one (All fits every type).
void CheckSubmodelModes(const char* owner, const MODEL_DATA& data, const std::string& type) {
  const bool neverReceives =
      TypeIn(type, {"Output", "Output_ECL", "Output_diff", "Open_drain", "Open_sink", "Open_source"});
  const bool neverDrives = TypeIn(type, {"Input", "Input_ECL", "Input_diff"});
  for (const ADD_SUBMODEL_ROW& row : data.addSubmodels) {
    const bool conflict = (neverReceives && CMN_EqualNoCase(row.mode.c_str(), "Non-Driving")) ||
                          (neverDrives && CMN_EqualNoCase(row.mode.c_str(), "Driving"));
    if (conflict) CHECK_ReportAt(row.line, 5721, owner, row.submodel.c_str(), row.mode.c_str(), type.c_str());
  }
}

// 3.2 §6a Bus Hold (BIRD 50.3): "at least either the [Pullup] or
// [Pulldown] keyword is required. Also, the [Ramp] keyword is required",
// and "the [Submodel Spec] keyword and the V_trigger_r and V_trigger_f
// subparameters are required". One report per missing piece.
void CheckBusHold(const SUBMODEL& sub) {
  if (!CMN_EqualNoCase(sub.type.c_str(), "Bus_hold")) return;
  const MODEL_DATA& d = sub.data;
  const char* owner = sub.name.c_str();
  if (!d.Table(KEY_SUB_PULLUP) && !d.Table(KEY_SUB_PULLDOWN))
    CHECK_ReportAt(sub.line, 5722, owner, "[Pullup] or [Pulldown]");
  if (!d.hasRamp) CHECK_ReportAt(sub.line, 5722, owner, "[Ramp]");
  if (!d.Keyword(MKEY_SUBMODEL_SPEC)) {
    CHECK_ReportAt(sub.line, 5722, owner, "[Submodel Spec]");
    return;
  }
  for (const char* name : {"V_trigger_r", "V_trigger_f"})
    if (!Named(d.modelSpec, name)) CHECK_ReportAt(sub.line, 5722, owner, name);
}

}  // namespace

void MPAIR_CheckFile(PARSE_CONTEXT& ctx) {
  if (ctx.mode != PARSE_MODE_IBS) return;
  for (const MODEL* m = ctx.models; m; m = m->next) {
    if (!m->data) continue;
    const char* owner = m->name ? m->name : "";
    CheckSensitivity(owner, *m->data);
    const std::string type = MODKEY_Type(m);
    CheckVrefSide(owner, *m->data, type);
    CheckSubmodelModes(owner, *m->data, type);
    if (ctx.ibisRelease >= IBIS_RELEASE_50) {
      CheckIssoPair(owner, *m->data);
      CheckCompositeCurrents(owner, *m->data);
    }
  }
  for (const SUBMODEL* sub = ctx.submodels; sub; sub = sub->next) CheckBusHold(*sub);
}
