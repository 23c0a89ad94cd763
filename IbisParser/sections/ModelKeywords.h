// The keywords and subparameters of a [Model] (and of a [Submodel]): reads
// each line into the model's MODEL_DATA and checks what one line or one
// whole model shows: Model_type and the enumerations by version,
// subparameters and keywords given twice or not allowed for the type,
// required subparameters and tables, numbers or NA. Table rows go to
// IvTable/VtTable, [Ramp] lines to Ramp.
#pragma once

struct PARSE_CONTEXT;

#include <string>

struct MODEL;
struct MODEL_DATA;

// Model keyword ids that the keyword tables do not name.
enum {
  MKEY_TEMPERATURE_RANGE = 33,
  MKEY_VOLTAGE_RANGE = 34,
  MKEY_PULLUP_REFERENCE = 35,
  MKEY_PULLDOWN_REFERENCE = 36,
  MKEY_POWER_CLAMP_REFERENCE = 37,
  MKEY_GND_CLAMP_REFERENCE = 38,
  MKEY_EXTERNAL_REFERENCE = 39,
  MKEY_RGND = 44,
  MKEY_CAC = 47,
  MKEY_TTGND = 51,
  MKEY_TTPOWER = 52,
  MKEY_MODEL_SPEC = 53,
  MKEY_RECEIVER_THRESHOLDS = 54,
  MKEY_DRIVER_SCHEDULE = 55,
  MKEY_ON = 56,
  MKEY_OFF = 57,
  MKEY_R_SERIES = 58,
  MKEY_RC_SERIES = 63,
  MKEY_SERIES_CURRENT = 64,
  MKEY_SERIES_MOSFET = 65,
  MKEY_ADD_SUBMODEL = 66,
  MKEY_ISSO_PD = 69,
  MKEY_ISSO_PU = 70,
  MKEY_COMPOSITE_CURRENT = 71,
  MKEY_EXTERNAL_MODEL = 30,
  MKEY_END_EXTERNAL_MODEL = 31,
  MKEY_SUBMODEL_SPEC = 98,
  MKEY_GND_PULSE_TABLE = 99,
  MKEY_POWER_PULSE_TABLE = 100,
};

// The keyword `id` as messages write it ("Pulldown", "Rising Waveform").
const char* MODKEY_Name(int id);

// 1 for the I-V table keywords, 2 for the V-T ones, 0 otherwise.
int MODKEY_TableKind(int id);

// A keyword or data line of model `model` (not of its [Algorithmic Model] block).
void MODKEY_Line(PARSE_CONTEXT& ctx, MODEL* model, int kind, int id, const char* text);

// The checks of one whole model, when it closes.
void MODKEY_EndModel(PARSE_CONTEXT& ctx, MODEL* model);

// A model keyword met while no [Model] is open.
void MODKEY_Orphan(PARSE_CONTEXT& ctx, int kind, int id);

// The model's Model_type as read ("" when not given).
std::string MODKEY_Type(const MODEL* model);

// 1 when Model_type `type` has a pulldown, resp. a pullup, that the
// standard requires a table for.
int MODKEY_HasPulldown(const char* type);
int MODKEY_HasPullup(const char* type);

// 1 when Model_type `type` drives (has a pull-up or pull-down that switches).
int MODKEY_Drives(const char* type);

// Reads one data line of a table keyword (`id`) into `data`: a V-T fixture
// subparameter or a row. Shared by models and submodels; `owner` names the
// model in the messages.
void MODKEY_TableLine(MODEL_DATA* data, int id, const char* text, const char* owner);
