#include "IbisParser/sections/ModelKeywords.h"

#include <cstring>

#include "IbisParser/base/CmnWords.h"
#include "IbisParser/base/IbisVersion.h"
#include "IbisParser/base/KeywordTables.h"
#include "IbisParser/base/LineWords.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/records/ModelData.h"
#include "IbisParser/rules/RuleReport.h"
#include "IbisParser/sections/IvTable.h"
#include "IbisParser/sections/Model.h"
#include "IbisParser/sections/Ramp.h"
#include "IbisParser/sections/VtTable.h"
#include "amiparam/Msg.h"

namespace {

// A word of an enumeration with the version that brought it.
struct Word {
  const char* word;
  int since;
};

// Model_type values (IBIS 2.1 §6 [Model]; 3.2 adds 3-state_ECL, Series and
// Series_switch; 4.1, checked with the 4.2 set, the _diff types).
constexpr Word kModelTypes[] = {
    {"Input", IBIS_RELEASE_21},           {"Output", IBIS_RELEASE_21},        {"I/O", IBIS_RELEASE_21},
    {"3-state", IBIS_RELEASE_21},         {"Open_drain", IBIS_RELEASE_21},    {"I/O_open_drain", IBIS_RELEASE_21},
    {"Open_sink", IBIS_RELEASE_21},       {"I/O_open_sink", IBIS_RELEASE_21}, {"Open_source", IBIS_RELEASE_21},
    {"I/O_open_source", IBIS_RELEASE_21}, {"Input_ECL", IBIS_RELEASE_21},     {"Output_ECL", IBIS_RELEASE_21},
    {"I/O_ECL", IBIS_RELEASE_21},         {"Terminator", IBIS_RELEASE_21},    {"3-state_ECL", IBIS_RELEASE_32},
    {"Series", IBIS_RELEASE_32},          {"Series_switch", IBIS_RELEASE_32}, {"Input_diff", IBIS_RELEASE_42},
    {"Output_diff", IBIS_RELEASE_42},     {"I/O_diff", IBIS_RELEASE_42},      {"3-state_diff", IBIS_RELEASE_42},
};

// Subparameters of [Model] (IBIS 2.1 §6 [Model]; 4.0 the split C_comp_*;
// Rref_diff and Cref_diff of the differential types, checked from 4.2).
constexpr Word kSubparams[] = {
    {"Model_type", IBIS_RELEASE_21},
    {"Polarity", IBIS_RELEASE_21},
    {"Enable", IBIS_RELEASE_21},
    {"Vinl", IBIS_RELEASE_21},
    {"Vinh", IBIS_RELEASE_21},
    {"C_comp", IBIS_RELEASE_21},
    {"Vmeas", IBIS_RELEASE_21},
    {"Cref", IBIS_RELEASE_21},
    {"Rref", IBIS_RELEASE_21},
    {"Vref", IBIS_RELEASE_21},
    {"C_comp_pullup", IBIS_RELEASE_42},
    {"C_comp_pulldown", IBIS_RELEASE_42},
    {"C_comp_power_clamp", IBIS_RELEASE_42},
    {"C_comp_gnd_clamp", IBIS_RELEASE_42},
    {"Rref_diff", IBIS_RELEASE_42},
    {"Cref_diff", IBIS_RELEASE_42},
};

// Subparameters of [Model Spec] (IBIS 3.2 §6 [Model Spec]; 4.0 adds the
// Cref/Rref/Vref/Vmeas edge forms and the reference subparameters; 5.0 the
// Vinh/Vinl of receivers with [Receiver Thresholds]).
constexpr const char* kModelSpec[] = {
    "Vinh",
    "Vinl",
    "Vinh+",
    "Vinh-",
    "Vinl+",
    "Vinl-",
    "S_overshoot_high",
    "S_overshoot_low",
    "D_overshoot_high",
    "D_overshoot_low",
    "D_overshoot_time",
    "D_overshoot_area_h",
    "D_overshoot_area_l",
    "D_overshoot_ampl_h",
    "D_overshoot_ampl_l",
    "Pulse_high",
    "Pulse_low",
    "Pulse_time",
    "Vmeas",
    "Vref",
    "Cref",
    "Rref",
    "Cref_rising",
    "Cref_falling",
    "Rref_rising",
    "Rref_falling",
    "Vref_rising",
    "Vref_falling",
    "Vmeas_rising",
    "Vmeas_falling",
    "Rref_diff",
    "Cref_diff",
    "Cref_diff_rising",
    "Cref_diff_falling",
    "Rref_diff_rising",
    "Rref_diff_falling",
};

// Subparameters of [Receiver Thresholds] (IBIS 4.1 §6, checked from 4.2).
constexpr const char* kReceiverThresholds[] = {
    "Vth",
    "Vth_min",
    "Vth_max",
    "Vinh_ac",
    "Vinh_dc",
    "Vinl_ac",
    "Vinl_dc",
    "Threshold_sensitivity",
    "Reference_supply",
    "Vcross_low",
    "Vcross_high",
    "Vdiff_ac",
    "Vdiff_dc",
    "Tslew_ac",
    "Tdiffslew_ac",
};

struct Name {
  int id;
  const char* name;
};

constexpr Name kNames[] = {
    {KEY_MODEL, "Model"},
    {MKEY_TEMPERATURE_RANGE, "Temperature Range"},
    {MKEY_VOLTAGE_RANGE, "Voltage Range"},
    {MKEY_PULLUP_REFERENCE, "Pullup Reference"},
    {MKEY_PULLDOWN_REFERENCE, "Pulldown Reference"},
    {MKEY_POWER_CLAMP_REFERENCE, "POWER Clamp Reference"},
    {MKEY_GND_CLAMP_REFERENCE, "GND Clamp Reference"},
    {MKEY_EXTERNAL_REFERENCE, "External Reference"},
    {KEY_PULLDOWN, "Pulldown"},
    {KEY_PULLUP, "Pullup"},
    {KEY_GND_CLAMP, "GND Clamp"},
    {KEY_POWER_CLAMP, "POWER Clamp"},
    {44, "Rgnd"},
    {45, "Rpower"},
    {46, "Rac"},
    {47, "Cac"},
    {KEY_RAMP, "Ramp"},
    {KEY_RISING_WAVEFORM, "Rising Waveform"},
    {KEY_FALLING_WAVEFORM, "Falling Waveform"},
    {MKEY_TTGND, "TTgnd"},
    {MKEY_TTPOWER, "TTpower"},
    {MKEY_MODEL_SPEC, "Model Spec"},
    {MKEY_RECEIVER_THRESHOLDS, "Receiver Thresholds"},
    {MKEY_DRIVER_SCHEDULE, "Driver Schedule"},
    {MKEY_ON, "On"},
    {MKEY_OFF, "Off"},
    {58, "R Series"},
    {59, "L Series"},
    {60, "Rl Series"},
    {61, "C Series"},
    {62, "Lc Series"},
    {63, "Rc Series"},
    {MKEY_SERIES_CURRENT, "Series Current"},
    {MKEY_SERIES_MOSFET, "Series MOSFET"},
    {MKEY_ADD_SUBMODEL, "Add Submodel"},
    {KEY_ALGORITHMIC_MODEL, "Algorithmic Model"},
    {MKEY_ISSO_PD, "ISSO PD"},
    {MKEY_ISSO_PU, "ISSO PU"},
    {MKEY_COMPOSITE_CURRENT, "Composite Current"},
    {MKEY_EXTERNAL_MODEL, "External Model"},
    {KEY_C_COMP_MODEL, "C Comp Model"},
    {KEY_SUB_PULLDOWN, "Pulldown"},
    {KEY_SUB_PULLUP, "Pullup"},
    {KEY_SUB_GND_CLAMP, "GND Clamp"},
    {KEY_SUB_POWER_CLAMP, "POWER Clamp"},
    {KEY_SUB_RAMP, "Ramp"},
    {KEY_SUB_RISING_WAVEFORM, "Rising Waveform"},
    {KEY_SUB_FALLING_WAVEFORM, "Falling Waveform"},
};

// Keywords that stand once per model (and once per [On]/[Off] state of a
// Series_switch model); waveforms, [Composite Current], [Series MOSFET],
// [Algorithmic Model] and the later blocks may repeat (IBIS 2.1 §6 and 3.2
// §6 [Model]).
bool Once(int id) {
  // [Series MOSFET] repeats, one table per Vds (IBIS 3.2 §6 [Series MOSFET]).
  if (id == MKEY_SERIES_MOSFET) return false;
  return (id >= MKEY_TEMPERATURE_RANGE && id <= KEY_RAMP) || (id >= MKEY_TTGND && id <= MKEY_ADD_SUBMODEL) ||
         id == MKEY_ISSO_PD || id == MKEY_ISSO_PU;
}

bool IsSeriesKeyword(int id) { return id >= MKEY_R_SERIES && id <= MKEY_SERIES_MOSFET; }

bool TypeIs(const std::string& type, const char* const* list) {
  for (const char* const* p = list; *p; ++p)
    if (CMN_EqualNoCase(type.c_str(), *p)) return true;
  return false;
}

// Types with a pulldown, a pullup and an input (IBIS 2.1 §6 [Pulldown],
// [Pullup], [Model] Vinl/Vinh).
const char* const kPulldownTypes[] = {"Output",      "I/O",           "3-state",      "Open_drain", "I/O_open_drain",
                                      "Open_sink",   "I/O_open_sink", "Output_ECL",   "I/O_ECL",    "3-state_ECL",
                                      "Output_diff", "I/O_diff",      "3-state_diff", nullptr};
const char* const kPullupTypes[] = {"Output",          "I/O",        "3-state",      "Open_source",
                                    "I/O_open_source", "Output_ECL", "I/O_ECL",      "3-state_ECL",
                                    "Output_diff",     "I/O_diff",   "3-state_diff", nullptr};
const char* const kInputTypes[] = {"Input",           "I/O",       "I/O_open_drain", "I/O_open_sink",
                                   "I/O_open_source", "Input_ECL", "I/O_ECL",        nullptr};
const char* const kSeriesTypes[] = {"Series", "Series_switch", nullptr};

const char* NameOf(const MODEL* model) { return model->name ? model->name : ""; }

// A triple on a keyword line or after a subparameter name: each word a
// number or NA (5110), typ given (5112).
void ReadTriple(const std::vector<std::string>& words, size_t from, MODEL_TRIPLE* triple, const char* what,
                const char* owner) {
  triple->line = gulLineNumber;
  triple->given = true;
  for (int c = 0; c < 3; ++c) {
    if (from + c >= words.size()) break;
    const char* word = words[from + c].c_str();
    triple->corner[c].status = TABLE_Value(word, &triple->corner[c].value);
    if (triple->corner[c].status == 0) CHECK_Report(5110, owner, what, word);
  }
  if (from >= words.size() || triple->corner[0].status == CMN_VALUE_NA) CHECK_Report(5112, owner, what);
}

// A subparameter line «Name value ...» or «Name = value» (blanks around "="
// optional): the name and the words after it.
MODEL_SUBPARAM Subparam(const char* text) {
  MODEL_SUBPARAM sub;
  std::vector<std::string> words = LINE_AssignWords(text);
  if (words.empty()) return sub;
  sub.name = words[0];
  sub.values.assign(words.begin() + 1, words.end());
  sub.line = gulLineNumber;
  return sub;
}

bool Known(PARSE_CONTEXT& ctx, const Word* list, size_t n, const std::string& name) {
  for (size_t i = 0; i < n; ++i)
    if (CMN_EqualNoCase(name.c_str(), list[i].word) && ctx.ibisRelease >= list[i].since) return true;
  return false;
}

void ModelSubparam(PARSE_CONTEXT& ctx, MODEL* model, MODEL_DATA* data, const char* text) {
  MODEL_SUBPARAM sub = Subparam(text);
  if (sub.name.empty()) return;
  const char* owner = NameOf(model);
  if (!Known(ctx, kSubparams, sizeof kSubparams / sizeof kSubparams[0], sub.name)) {
    CHECK_Report(5104, owner, sub.name.c_str(), IBISVER_Name(ctx.ibisRelease));
    return;
  }
  if (const MODEL_SUBPARAM* first = data->Subparam(sub.name.c_str())) {
    CHECK_Report(5103, owner, sub.name.c_str(), static_cast<int>(first->line));
    return;
  }
  const std::string value = sub.values.empty() ? std::string() : sub.values[0];
  if (CMN_EqualNoCase(sub.name.c_str(), "Model_type")) {
    if (!Known(ctx, kModelTypes, sizeof kModelTypes / sizeof kModelTypes[0], value))
      CHECK_Report(5101, owner, value.c_str(), IBISVER_Name(ctx.ibisRelease));
  } else if (CMN_EqualNoCase(sub.name.c_str(), "Polarity")) {
    // IBIS 2.1 §6 [Model]: Polarity is Inverting or Non-Inverting.
    if (!CMN_EqualNoCase(value.c_str(), "Inverting") && !CMN_EqualNoCase(value.c_str(), "Non-Inverting"))
      CHECK_Report(5102, owner, "Polarity", value.c_str(), "Inverting, Non-Inverting");
  } else if (CMN_EqualNoCase(sub.name.c_str(), "Enable")) {
    // IBIS 2.1 §6 [Model]: Enable is Active-High or Active-Low.
    if (!CMN_EqualNoCase(value.c_str(), "Active-High") && !CMN_EqualNoCase(value.c_str(), "Active-Low"))
      CHECK_Report(5102, owner, "Enable", value.c_str(), "Active-High, Active-Low");
  } else {
    // Numbers: C_comp and its split forms as typ/min/max, the others one value
    // (IBIS 2.1 §6 [Model]; a typ/min/max of them is accepted as well).
    MODEL_TRIPLE triple;
    ReadTriple(sub.values, 0, &triple, sub.name.c_str(), owner);
  }
  data->subparams.push_back(sub);
}

// [Model Spec] and [Receiver Thresholds] lines: known names, numbers.
void SpecLine(MODEL_DATA* data, bool thresholds, const char* text, const char* owner) {
  MODEL_SUBPARAM sub = Subparam(text);
  if (sub.name.empty()) return;
  bool known = false;
  if (thresholds) {
    for (const char* name : kReceiverThresholds) known = known || CMN_EqualNoCase(name, sub.name.c_str());
  } else {
    for (const char* name : kModelSpec) known = known || CMN_EqualNoCase(name, sub.name.c_str());
  }
  if (!known) {
    CHECK_Report(thresholds ? 5221 : 5220, owner, sub.name.c_str());
    return;
  }
  (thresholds ? data->receiverThresholds : data->modelSpec).push_back(sub);
}

// [Driver Schedule] rows: model_name Rise_on_dly Rise_off_dly Fall_on_dly
// Fall_off_dly, delays numbers or NA (IBIS 3.2 §6 [Driver Schedule]).
void ScheduleRow(MODEL_DATA* data, const char* text, const char* owner) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 5) {
    CHECK_Report(5230, owner, static_cast<int>(words.size()));
    if (words.empty()) return;
  }
  SCHEDULE_ROW row{words[0], {}, gulLineNumber};
  double value = 0.0;
  for (size_t i = 1; i < words.size() && i < 5; ++i) {
    if (TABLE_Value(words[i].c_str(), &value) == 0 && words.size() == 5) CHECK_Report(5233, owner, words[i].c_str());
    row.delays.push_back(words[i]);
  }
  data->schedule.push_back(row);
}

// [Add Submodel] rows: submodel_name mode, mode Driving, Non-Driving or All
// (IBIS 3.2 §6a [Add Submodel]).
void AddSubmodelRow(MODEL_DATA* data, const char* text, const char* owner) {
  std::vector<std::string> words = LINE_Words(text);
  if (words.size() != 2) {
    CHECK_Report(5240, owner, static_cast<int>(words.size()));
    if (words.empty()) return;
  }
  ADD_SUBMODEL_ROW row{words[0], words.size() > 1 ? words[1] : std::string(), gulLineNumber};
  if (words.size() == 2 && !CMN_EqualNoCase(row.mode.c_str(), "Driving") &&
      !CMN_EqualNoCase(row.mode.c_str(), "Non-Driving") && !CMN_EqualNoCase(row.mode.c_str(), "All"))
    CHECK_Report(5242, owner, row.mode.c_str());
  data->addSubmodels.push_back(row);
}

// The model's typ/min/max keyword that `id` fills, or null for another keyword.
MODEL_TRIPLE* RangeOf(MODEL_DATA* data, int id) {
  switch (id) {
    case MKEY_TEMPERATURE_RANGE:
      return &data->temperatureRange;
    case MKEY_VOLTAGE_RANGE:
      return &data->voltageRange;
    case MKEY_PULLUP_REFERENCE:
      return &data->pullupRef;
    case MKEY_PULLDOWN_REFERENCE:
      return &data->pulldownRef;
    case MKEY_POWER_CLAMP_REFERENCE:
      return &data->powerClampRef;
    case MKEY_GND_CLAMP_REFERENCE:
      return &data->gndClampRef;
    default:
      return nullptr;
  }
}

void KeywordLine(MODEL* model, MODEL_DATA* data, int id, const char* text) {
  const char* owner = NameOf(model);
  data->current = id;
  if (id == MKEY_ON) data->state = 1;
  if (id == MKEY_OFF) data->state = 2;
  const int state = IsSeriesKeyword(id) ? data->state : 0;
  if (id != KEY_MODEL && Once(id)) {
    for (const MODEL_KEYWORD& k : data->keywords)
      if (k.id == id && k.state == state) {
        std::string keyword = std::string("[") + MODKEY_Name(id) + "]";
        CHECK_Report(5103, owner, keyword.c_str(), static_cast<int>(k.line));
        data->current = 0;  // its lines are not read again
        return;
      }
  }
  data->keywords.push_back(MODEL_KEYWORD{id, state, gulLineNumber});
  std::vector<std::string> words = LINE_Words(KEY_AfterKeyword(text));
  MODEL_TRIPLE* range = RangeOf(data, id);
  const std::string bracketed = std::string("[") + MODKEY_Name(id) + "]";
  if (range) {
    ReadTriple(words, 0, range, bracketed.c_str(), owner);
    return;
  }
  if ((id >= MKEY_RGND && id <= MKEY_CAC) || id == MKEY_TTGND || id == MKEY_TTPOWER ||
      (id >= MKEY_R_SERIES && id <= MKEY_RC_SERIES)) {
    MODEL_TRIPLE triple;
    ReadTriple(words, 0, &triple, bracketed.c_str(), owner);
    data->series.emplace_back(MODKEY_Name(id), triple);
    return;
  }
  if (MODKEY_TableKind(id)) {
    MODEL_TABLE table;
    table.keyword = id;
    table.name = MODKEY_Name(id);
    table.line = gulLineNumber;
    table.state = state;
    data->tables.push_back(table);
    return;
  }
  if (id == KEY_RAMP) {
    data->hasRamp = true;
    data->ramp.line = gulLineNumber;
  }
}

}  // namespace

bool MODEL_TABLE::Fixture(const char* wanted, double* value) const {
  for (const auto& f : fixture)
    if (CMN_EqualNoCase(f.first.c_str(), wanted)) {
      *value = f.second;
      return true;
    }
  return false;
}

const MODEL_SUBPARAM* MODEL_DATA::Subparam(const char* wanted) const {
  for (const MODEL_SUBPARAM& s : subparams)
    if (CMN_EqualNoCase(s.name.c_str(), wanted)) return &s;
  return nullptr;
}

const MODEL_KEYWORD* MODEL_DATA::Keyword(int id) const {
  for (const MODEL_KEYWORD& k : keywords)
    if (k.id == id) return &k;
  return nullptr;
}

const MODEL_TABLE* MODEL_DATA::Table(int id) const {
  for (const MODEL_TABLE& t : tables)
    if (t.keyword == id) return &t;
  return nullptr;
}

const char* MODKEY_Name(int id) {
  for (const Name& n : kNames)
    if (n.id == id) return n.name;
  return "";
}

int MODKEY_TableKind(int id) {
  switch (id) {
    case KEY_PULLDOWN:
    case KEY_PULLUP:
    case KEY_GND_CLAMP:
    case KEY_POWER_CLAMP:
    case MKEY_ISSO_PD:
    case MKEY_ISSO_PU:
    case MKEY_SERIES_CURRENT:
    case MKEY_SERIES_MOSFET:
    case KEY_SUB_PULLDOWN:
    case KEY_SUB_PULLUP:
    case KEY_SUB_GND_CLAMP:
    case KEY_SUB_POWER_CLAMP:
      return 1;
    case KEY_RISING_WAVEFORM:
    case KEY_FALLING_WAVEFORM:
    case MKEY_COMPOSITE_CURRENT:
    case KEY_SUB_RISING_WAVEFORM:
    case KEY_SUB_FALLING_WAVEFORM:
      return 2;
    default:
      return 0;
  }
}

void MODKEY_TableLine(MODEL_DATA* data, int id, const char* text, const char* owner) {
  if (data->tables.empty() || data->tables.back().keyword != id) return;
  MODEL_TABLE* table = &data->tables.back();
  if (id == MKEY_SERIES_MOSFET) {
    // «Vds = 1.0» before the rows (IBIS 3.2 §6 [Series MOSFET]).
    MODEL_SUBPARAM sub = Subparam(text);
    if (CMN_EqualNoCase(sub.name.c_str(), "Vds")) {
      if (!sub.values.empty() && TABLE_Value(sub.values[0].c_str(), &table->vds) == CMN_VALUE_NUMBER)
        table->fixture.emplace_back("Vds", table->vds);
      else
        CHECK_Report(5151, table->name.c_str(), owner, "Vds", sub.values.empty() ? "" : sub.values[0].c_str());
      return;
    }
  }
  if (MODKEY_TableKind(id) == 2 && VTT_FixtureLine(table, text, owner)) return;
  TABLE_ReadRow(table, text, owner);
}

void MODKEY_Line(PARSE_CONTEXT& ctx, MODEL* model, int kind, int id, const char* text) {
  if (!model->data) model->data = new MODEL_DATA();
  MODEL_DATA* data = model->data;
  const char* owner = NameOf(model);
  if (kind == PARSE_LINE_KEYWORD) {
    if (id == KEY_MODEL && (!model->name || !*model->name)) CHECK_Report(5113);
    KeywordLine(model, data, id, text);
    return;
  }
  const int current = data->current;
  if (current == KEY_MODEL) {
    ModelSubparam(ctx, model, data, text);
  } else if (MODKEY_TableKind(current)) {
    MODKEY_TableLine(data, current, text, owner);
  } else if (current == KEY_RAMP) {
    RAMP_Line(&data->ramp, text, owner);
  } else if (current == MKEY_MODEL_SPEC || current == MKEY_RECEIVER_THRESHOLDS) {
    SpecLine(data, current == MKEY_RECEIVER_THRESHOLDS, text, owner);
  } else if (current == MKEY_DRIVER_SCHEDULE) {
    ScheduleRow(data, text, owner);
  } else if (current == MKEY_ADD_SUBMODEL) {
    AddSubmodelRow(data, text, owner);
  }
}

std::string MODKEY_Type(const MODEL* model) {
  const MODEL_SUBPARAM* type = model->data ? model->data->Subparam("Model_type") : nullptr;
  return type && !type->values.empty() ? type->values[0] : std::string();
}

int MODKEY_HasPulldown(const char* type) { return TypeIs(type, kPulldownTypes) ? 1 : 0; }

int MODKEY_HasPullup(const char* type) { return TypeIs(type, kPullupTypes) ? 1 : 0; }

int MODKEY_Drives(const char* type) { return TypeIs(type, kPulldownTypes) || TypeIs(type, kPullupTypes) ? 1 : 0; }

void MODKEY_Orphan(PARSE_CONTEXT& ctx, int kind, int id) {
  // [Model] itself opens no model only where the driver has refused it
  // already; .pkg and .ebd files hold no models to be outside of.
  if (kind == PARSE_LINE_KEYWORD && id != KEY_MODEL && ctx.mode == PARSE_MODE_IBS && MODKEY_Name(id)[0])
    CHECK_Report(5111, MODKEY_Name(id));
}

namespace {

// The keywords and subparameters a model of `type` needs: Model_type,
// C_comp, thresholds, [Voltage Range] and the tables of the types that
// drive, [On] and [Off] of a switch.
void CheckRequired(const MODEL* model, const MODEL_DATA& data, const std::string& type) {
  const char* owner = NameOf(model);
  const unsigned long at = model->line;
  const bool series = TypeIs(type, kSeriesTypes);
  // IBIS 2.1 §6 [Model]: Model_type is required.
  if (!data.Subparam("Model_type")) CHECK_ReportAt(at, 5100, owner);
  // IBIS 2.1 §6 [Model]: C_comp is required; from 4.0 the C_comp_* split may
  // stand for it, from 7.0 [C Comp Model]; series models have none.
  if (!series && !data.Subparam("C_comp") && !data.Subparam("C_comp_pullup") && !data.Subparam("C_comp_pulldown") &&
      !data.Subparam("C_comp_power_clamp") && !data.Subparam("C_comp_gnd_clamp") && !data.Keyword(KEY_C_COMP_MODEL))
    CHECK_ReportAt(at, 5105, owner);
  // IBIS 2.1 §6 [Model]: Vinl and Vinh are required for the types that
  // receive; [Model Spec] (3.2) or [Receiver Thresholds] (4.1) may give them.
  if (TypeIs(type, kInputTypes) && !(data.Subparam("Vinl") && data.Subparam("Vinh"))) {
    bool spec = false;
    for (const MODEL_SUBPARAM& s : data.modelSpec)
      spec = spec || CMN_EqualNoCase(s.name.c_str(), "Vinl") || CMN_EqualNoCase(s.name.c_str(), "Vinh");
    if (!spec && !data.Keyword(MKEY_RECEIVER_THRESHOLDS)) CHECK_ReportAt(at, 5106, owner, type.c_str());
  }
  // IBIS 2.1 §6 [Voltage Range]: required unless all four reference keywords are given.
  if (!series && !data.voltageRange.given &&
      !(data.pullupRef.given && data.pulldownRef.given && data.powerClampRef.given && data.gndClampRef.given))
    CHECK_ReportAt(at, 5107, owner);
  // IBIS 2.1 §6 [Pulldown], [Pullup], [Ramp]: required for the types that drive.
  if (!data.Keyword(MKEY_EXTERNAL_MODEL)) {
    if (TypeIs(type, kPulldownTypes) && !data.Table(KEY_PULLDOWN))
      CHECK_ReportAt(at, 5108, owner, type.c_str(), "Pulldown");
    if (TypeIs(type, kPullupTypes) && !data.Table(KEY_PULLUP)) CHECK_ReportAt(at, 5108, owner, type.c_str(), "Pullup");
    if (MODKEY_Drives(type.c_str()) && !data.hasRamp) CHECK_ReportAt(at, 5108, owner, type.c_str(), "Ramp");
  }
  // IBIS 3.2 §6 [On], [Off]: Series_switch models describe both states.
  if (CMN_EqualNoCase(type.c_str(), "Series_switch"))
    for (int id : {MKEY_ON, MKEY_OFF})
      if (!data.Keyword(id)) CHECK_ReportAt(at, 5108, owner, type.c_str(), MODKEY_Name(id));
}

}  // namespace

void MODKEY_EndModel(PARSE_CONTEXT& ctx, MODEL* model) {
  if (!model->data) model->data = new MODEL_DATA();
  const MODEL_DATA& data = *model->data;
  const char* owner = NameOf(model);
  const std::string type = MODKEY_Type(model);
  const bool series = TypeIs(type, kSeriesTypes);
  CheckRequired(model, data, type);
  // IBIS 3.2 §6: the series keywords belong to Series and Series_switch
  // models, [On] and [Off] to Series_switch only; [Driver Schedule] to
  // models that drive.
  if (!type.empty()) {
    for (const MODEL_KEYWORD& k : data.keywords) {
      bool wrong = (IsSeriesKeyword(k.id) && !series) ||
                   ((k.id == MKEY_ON || k.id == MKEY_OFF) && !CMN_EqualNoCase(type.c_str(), "Series_switch")) ||
                   (k.id == MKEY_DRIVER_SCHEDULE && !MODKEY_Drives(type.c_str()));
      if (wrong) CHECK_ReportAt(k.line, 5109, owner, MODKEY_Name(k.id), type.c_str());
    }
  }
  for (const MODEL_TABLE& table : data.tables) {
    if (MODKEY_TableKind(table.keyword) == 2)
      VTT_CheckTable(ctx, table, owner);
    else
      TABLE_CheckIvTable(ctx, table, owner);
    double vds = 0.0;
    if (table.keyword == MKEY_SERIES_MOSFET && !table.Fixture("Vds", &vds)) CHECK_ReportAt(table.line, 5251, owner);
  }
  VTT_CheckCount(data.tables, owner, model->line);
  for (MODEL_TABLE& table : model->data->tables) TABLE_SortAscending(&table);
  if (data.hasRamp) RAMP_Check(data.ramp, owner);
}
