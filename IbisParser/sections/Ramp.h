// [Ramp] of a model: the dV/dt_r and dV/dt_f lines, each a typ/min/max of
// ratios dV/dt, and R_load; and the check that both ratios are there.
// IBIS 2.1 §6 [Ramp].
#pragma once

struct MODEL_RAMP;

// Reads one data line of [Ramp] into `ramp`, reporting a ratio that is not
// of the form dV/dt (5201) or not positive (5202), typ not given (5205), an
// R_load that is not a positive number (5203) and an unknown line (5204).
void RAMP_Line(MODEL_RAMP* ramp, const char* text, const char* owner);

// Both dV/dt_r and dV/dt_f are given (5200).
void RAMP_Check(const MODEL_RAMP& ramp, const char* owner);
