// What the model section reads, as plain records: per [Model] its
// subparameters, ranges and reference voltages, its I-V and V-T tables with
// their fixtures, [Ramp], [Model Spec], [Receiver Thresholds], [Driver
// Schedule], [Add Submodel] and the series keywords; per [Submodel] its type
// and tables. Every item keeps its line. The checks of one line run as it is
// read (ModelKeywords, IvTable, VtTable, Ramp), those of a whole model when
// it ends, and those across models at the end of the file (ModelReferences,
// ModelConsistency).
#pragma once

#include <string>
#include <vector>

// One column of a typ/min/max triple: status 0 not given, 1 a number, 2 NA
// (as CMN_VALUE_*).
struct MODEL_VALUE {
  double value = 0.0;
  int status = 0;
};

// A typ/min/max triple with its line; corner 0 typ, 1 min, 2 max.
struct MODEL_TRIPLE {
  MODEL_VALUE corner[3];
  unsigned long line = 0;
  bool given = false;  // the keyword or subparameter was read
};

// A subparameter line of [Model] or [Submodel] («Vinl = 0.8», «C_comp 2p 1p 3p»).
struct MODEL_SUBPARAM {
  std::string name;
  std::vector<std::string> values;  // the words after the name (and after "=")
  unsigned long line = 0;
};

// One row of an I-V or V-T table: the independent value and typ, min, max.
struct TABLE_ROW {
  double x = 0.0;
  MODEL_VALUE y[3];
  unsigned long line = 0;
};

// An I-V table ([Pulldown], [Pullup], [GND Clamp], [POWER Clamp], [ISSO PD],
// [ISSO PU], [Series Current], [Series MOSFET]) or a V-T table ([Rising
// Waveform], [Falling Waveform], [Composite Current]).
struct MODEL_TABLE {
  int keyword = 0;   // keyword id (KEY_*, the model's ids also inside a submodel)
  std::string name;  // the keyword as the messages write it, e.g. "Pulldown"
  unsigned long line = 0;
  int state = 0;  // 0, or 1 under [On] and 2 under [Off] of a Series_switch model
  std::vector<TABLE_ROW> rows;
  // Fixture subparameters of a V-T table (R_fixture, V_fixture, V_fixture_min,
  // V_fixture_max, C_fixture, L_fixture, R_dut, L_dut, C_dut), name and value.
  std::vector<std::pair<std::string, double>> fixture;
  double vds = 0.0;            // Vds of a [Series MOSFET] table
  bool faulty = false;         // a row was refused: the consistency checks leave the table out
  bool orderReported = false;  // a row out of order was reported (once per table)
  // Has the fixture subparameter `name`, its value in *value.
  bool Fixture(const char* name, double* value) const;
};

// [Ramp]: dV/dt_r and dV/dt_f, each typ/min/max of a dV and a dt, and R_load.
struct MODEL_RAMP {
  unsigned long line = 0;
  MODEL_VALUE dv[2][3], dt[2][3];  // [0] rising, [1] falling; corners typ, min, max
  unsigned long rowLine[2] = {0, 0};
  double rLoad = 50.0;  // ohms, 50 unless given
  bool rLoadGiven = false;
};

// A [Driver Schedule] row: model_name and four delays.
struct SCHEDULE_ROW {
  std::string model;
  std::vector<std::string> delays;  // Rise_on_dly Rise_off_dly Fall_on_dly Fall_off_dly as written
  unsigned long line = 0;
};

// An [Add Submodel] row: submodel name and mode.
struct ADD_SUBMODEL_ROW {
  std::string submodel, mode;
  unsigned long line = 0;
};

// A keyword met in a model: its id, where, and the [On]/[Off] state it stood in.
struct MODEL_KEYWORD {
  int id = 0;
  int state = 0;
  unsigned long line = 0;
};

struct MODEL_DATA {
  std::vector<MODEL_SUBPARAM> subparams;
  std::vector<MODEL_KEYWORD> keywords;  // keyword lines in file order
  MODEL_TRIPLE temperatureRange, voltageRange, pullupRef, pulldownRef, powerClampRef, gndClampRef;
  std::vector<MODEL_TABLE> tables;
  MODEL_RAMP ramp;
  bool hasRamp = false;
  std::vector<MODEL_SUBPARAM> modelSpec, receiverThresholds;
  std::vector<SCHEDULE_ROW> schedule;
  std::vector<ADD_SUBMODEL_ROW> addSubmodels;
  std::vector<std::pair<std::string, MODEL_TRIPLE>>
      series;       // [R Series] ... [Rc Series], [Rgnd] ... [Cac], [TTgnd], [TTpower]
  int state = 0;    // 1 after [On], 2 after [Off]
  int current = 0;  // id of the keyword whose lines are being read

  // The first subparameter `name` (any case), or null.
  const MODEL_SUBPARAM* Subparam(const char* name) const;
  // The first keyword `id`, or null.
  const MODEL_KEYWORD* Keyword(int id) const;
  // The first table of keyword `id`, or null.
  const MODEL_TABLE* Table(int id) const;
};

// A [Submodel]: its name, Submodel_type and tables.
struct SUBMODEL {
  SUBMODEL* next = nullptr;
  std::string name, type;
  unsigned long line = 0;
  MODEL_DATA data;
};

// Releases a list of submodels; nulls *ppList.
void SUBMREC_FreeAll(SUBMODEL** ppList);
