// The data-consistency checks of the models, once the whole file is read,
// as warnings with the numbers: each V-T table's first and last points
// against the DC level the model's I-V tables drive into its fixture, per
// corner; [Ramp] against the 20-80 % slope of the waveforms into R_load; and
// pull-up and pull-down tables that do not keep their direction between 0
// and the supply voltage. Tolerances: docs/CHECKS.md.
#pragma once

#include "IbisParser/rules/ModelCheckRules.h"

struct MODEL;
struct MODEL_TABLE;

void MODCONS_CheckFile(const MODEL* models);

// The current of I-V table `table` at `voltage` for corner `corner` (0 typ,
// 1 min, 2 max; a corner column without numbers uses typ), by straight lines
// between rows and along the end segments beyond them. 0 without rows.
double MODCONS_Current(const MODEL_TABLE* table, int corner, double voltage);
