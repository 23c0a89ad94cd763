// The checks of what a model's keywords and subparameters ask of each other:
// [Receiver Thresholds]' Threshold_sensitivity with its Reference_supply,
// Vref on the side of Vmeas the Model_type pulls to, [ISSO PU] with
// [ISSO PD], and each [Composite Current] under a waveform whose time span
// it covers.
#pragma once

struct PARSE_CONTEXT;

// Runs the checks over the models of the file just read (not the
// submodels); each finding names the line of the keyword or subparameter.
void MPAIR_CheckFile(PARSE_CONTEXT& ctx);
